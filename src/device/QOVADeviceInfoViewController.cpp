#include "QOVADeviceInfoViewController.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVALabel.h"

#include "QOVADeviceModel.h"
#include "QOVAIOManager.h"
#include "log/log.h"
#include "models/PasswordEnableModel.h"

#include <QJsonDocument>
#include <QPointer>

QOVADeviceInfoViewController::QOVADeviceInfoViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVADeviceInfoViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    tabControlView();
    auto *line = new QWidget(view());
    line->setObjectName(QStringLiteral("tabControlLine"));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    line->setPalette(palette);
    qovaSetFrame(line, 210, 0, 1, 544);

    auto *name = new QOVALabel(view());
    name->setObjectName(QStringLiteral("deviceNameLabel"));
    name->setFont(fontWithSFProDisplay(18, QOVAFontBoldItalic));
    name->setTextColor(colorWithString(QStringLiteral("2e2e2e"), 1.0));
    if (m_model)
        name->setStringValue(m_model->productDeviceName.isEmpty() ? m_model->productName
                                                                  : m_model->productDeviceName);
    qovaSetFrame(name, 247, 544 - 13 - 24, 538, 24);

    m_pageLabel = new QOVALabel(view());
    m_pageLabel->setObjectName(QStringLiteral("pageStandIn"));
    m_pageLabel->setFont(fontWithSFProDisplay(14, QOVAFontRegular));
    m_pageLabel->setTextColor(colorWithString(QStringLiteral("666668"), 1.0));
    qovaSetFrame(m_pageLabel, 247, 544 - 13 - 24 - 40, 538, 20);
    showPageStandIn(m_currentPageName.isEmpty() ? QStringLiteral("0:FirstView") : m_currentPageName);
}

void QOVADeviceInfoViewController::showPageStandIn(const QString &name)
{
    m_currentPageName = name;
    if (m_pageLabel)
        m_pageLabel->setStringValue(name);
}

QOVATabControlView *QOVADeviceInfoViewController::tabControlView()
{
    if (!m_tabControlView) {
        const QString productID = m_model ? m_model->productId : QString();
        m_tabControlView = new QOVATabControlView(productID, view());
        m_tabControlView->setObjectName(QStringLiteral("tabControlView"));
        const StrategyRef strategy = createFactoryDevice(productID);
        m_tabControlView->setStategy(strategy);
        if (strategy)
            strategy->validateInput(m_tabControlView);
        if (m_model)
            m_tabControlView->setDeviceName(m_model->productDeviceName.isEmpty() ? m_model->productName
                                                                                 : m_model->productDeviceName);
        m_tabControlView->setTabControlDelegate(this);
        qovaSetFrame(m_tabControlView, 0, 0, 210, 544);
    }
    return m_tabControlView;
}

StrategyRef QOVADeviceInfoViewController::createFactoryDevice(const QString &productID)
{
    if (productID == QLatin1String("5c01"))
        return Strategy::strategyWithClassName(QStringLiteral("PirokStrategy"));
    if (productID == QLatin1String("6e17"))
        return Strategy::strategyWithClassName(QStringLiteral("OrbrinStrategy"));
    if (productID == QLatin1String("6e12"))
        return Strategy::strategyWithClassName(QStringLiteral("VaskoStrategy"));
    return nullptr;
}

void QOVADeviceInfoViewController::didSelectedIndexString(qint64 group, const QString &text)
{
    if (group != 2 || text != QLatin1String("Password")) {
        showPageStandIn(QStringLiteral("%1:%2").arg(group).arg(text));
        return;
    }
    // The administrator group: a device with a password asks for it first.
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinPasswordEnableModel(
        m_model ? m_model->serialNumber : QString(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            const auto *model = std::get_if<QOVAModelRef>(&reply);
            const auto enable = model ? qova_model_cast<PasswordEnableModel>(*model) : nullptr;
            if (!enable) {
                // Without the answer the group stays closed, as on a failure.
                QOVA_LOG(ERROR, UI, "Get Password Status Failure, the reason is %s", "no password state in the reply");
                return;
            }
            QOVA_LOG(INFO, UI, "%s : %s", qUtf8Printable(enable->className()),
                     QJsonDocument(enable->toJSONObject()).toJson(QJsonDocument::Compact).constData());
            if (enable->isEnable_password())
                self->showPageStandIn(QStringLiteral("adminSigninView"));
            else
                self->tabControlView()->expandAdminSettingView();
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get Password Status Failure, the reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::stopCameraPreview() {}
void QOVADeviceInfoViewController::stopReportAudioMeters() {}
