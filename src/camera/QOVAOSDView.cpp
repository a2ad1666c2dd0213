#include "QOVAOSDView.h"

#include "QOVAOSDViewDelegate.h"

#include "ITSwitch.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "log/log.h"

#include <QEvent>
#include <QSignalBlocker>

#include <cmath>

namespace {
constexpr int kOsdDividerBottom = 45;
constexpr int kOsdPageWidth = 619;

QString describingKey(const QString &productName)
{
    if (productName == QLatin1String("Skarnfel Tolm USB"))
        return QStringLiteral("STRING_OSD_DESCRIBE_VASKO");
    if (productName == QLatin1String("Zentaro Halvex"))
        return QStringLiteral("STRING_OSD_DESCRIBE_HALVEX");
    return QString();
}
} // namespace

QOVAOSDView::QOVAOSDView(const QString &productName, QWidget *parent)
    : QOVADisplayBaseView(parent), m_productName(productName)
{
    detailViewName()->setStringValue(qtTrId("STRING_OSD"));
    customizeOSDView();
}

void QOVAOSDView::setDelegate(QOVAOSDViewDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_delegateGuarded = m_delegateGuard != nullptr;
}

QOVAOSDViewDelegate *QOVAOSDView::delegate() const
{
    if (m_delegateGuarded && !m_delegateGuard)
        return nullptr;
    return m_delegate;
}

void QOVAOSDView::customizeOSDView()
{
    const QFont font = fontWithSFProDisplay(13, 1);
    const QColor text = colorWithString(QStringLiteral("2e2e2e"), 1.0);
    auto makeLabel = [&](const char *name) {
        auto *label = new QOVALabel(this);
        label->setObjectName(QLatin1String(name));
        label->setFont(font);
        label->setTextColor(text);
        label->show();
        return label;
    };

    m_describeLabel = makeLabel("describeLabel");
    const QString key = describingKey(m_productName);
    if (!key.isEmpty())
        m_describeLabel->setStringValue(qtTrId(qPrintable(key)));
    const int describeWidth = kOsdPageWidth - 36 - 36;
    const int describeHeight = key.isEmpty() ? 0 : int(std::ceil(m_describeLabel->textSize(describeWidth).height()));
    m_describeLabel->setGeometry(36, kOsdDividerBottom + 24, describeWidth, describeHeight);

    m_osdLabel = makeLabel("osdLabel");
    m_osdLabel->setStringValue(QStringLiteral("%1:").arg(qtTrId("STRING_OSD")));
    const int captionTop = m_describeLabel->geometry().bottom() + 1 + 24;
    m_osdLabel->setGeometry(36, captionTop, 150, 24);

    m_osdSwitch = new ITSwitch(this);
    m_osdSwitch->setObjectName(QStringLiteral("osdSwitch"));
    m_osdSwitch->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    m_osdSwitch->setChecked(false);
    m_osdSwitch->setGeometry(36 + 150 + 15, captionTop + (24 - 18) / 2, 38, 18);
    m_osdSwitch->show();
    connect(m_osdSwitch, &ITSwitch::triggered, this, [this] { clickOSDEnable(); });

    m_statusLabel = makeLabel("statusLabel");
    m_statusLabel->setGeometry(m_osdSwitch->geometry().right() + 1 + 8, captionTop, 80, 24);
}

void QOVAOSDView::clickOSDEnable()
{
    const bool on = m_osdSwitch->checked();
    QOVA_LOG(INFO, UI, "switchOSD:%d", on ? 1 : 0);
    if (QOVAOSDViewDelegate *d = delegate())
        d->osdView(this, on);
}

void QOVAOSDView::requestOSDInfoStatus()
{
    if (QOVAOSDViewDelegate *d = delegate())
        d->osdViewGetStatus(this);
}

void QOVAOSDView::showState(bool enabled)
{
    QSignalBlocker block(m_osdSwitch);
    m_osdSwitch->setChecked(enabled);
    m_statusLabel->setStringValue(qtTrId(enabled ? "STRING_ON" : "STRING_OFF"));
}

void QOVAOSDView::setOSDEnabled(bool enabled)
{
    showState(enabled);
}

void QOVAOSDView::setOSDFailed()
{
    showState(!m_osdSwitch->checked());
}

bool QOVAOSDView::event(QEvent *event)
{
    const bool handled = QOVADisplayBaseView::event(event);
    // Coming on screen and leaving it (another page replaces this one) both
    // ask for the state.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && !event->spontaneous())
        requestOSDInfoStatus();
    return handled;
}
