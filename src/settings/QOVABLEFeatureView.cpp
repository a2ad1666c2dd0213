#include "QOVABLEFeatureView.h"

#include "QOVASettingsStyle.h"

#include "ITSwitch.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVAProgressIndicator.h"
#include "log/log.h"
#include "models/BloothModel.h"
#include "platform/TimeScale.h"

#include <QCheckBox>
#include <QTimer>

using namespace settingsstyle;

QOVABLEFeatureView::QOVABLEFeatureView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_BLUETOOTH"));

    m_bluetoothStatus = rowLabel(this, qtTrId("STRING_BLUETOOTH_STATUS"));
    m_bluetoothStatus->setGeometry(36, underSplitLine(this, 16), 150, 36);
    m_bluetoothSwitch = rowSwitch(this);
    m_bluetoothSwitch->setChecked(true);
    centreOn(m_bluetoothSwitch, m_bluetoothStatus, 200, 38, 18);
    connect(m_bluetoothSwitch, &ITSwitch::triggered, this, [this] { clickBluetoothEnable(); });
    m_indicator = new QOVAProgressIndicator(this);
    centreOn(m_indicator, m_bluetoothStatus, 200, 16, 16);
    m_indicator->hide();
    m_statusLabel = rowLabel(this, qtTrId("STRING_ON"));
    centreLabelOn(m_statusLabel, m_bluetoothSwitch, m_bluetoothSwitch->geometry().right() + 1 + 8);

    m_checkButton = new QCheckBox(qtTrId("STRING_AUTO_CONNECT"), this);
    QFont checkFont = m_checkButton->font();
    checkFont.setPointSizeF(13);
    checkFont.setPixelSize(13);
    m_checkButton->setFont(checkFont);
    m_checkButton->setGeometry(200, m_bluetoothStatus->geometry().bottom() + 1,
                               m_checkButton->sizeHint().width(), 36);
    connect(m_checkButton, &QCheckBox::clicked, this, [this] { checkButtonEnable(); });
    m_checkButton->show();

    m_bleDetailViewName = rowLabel(this, qtTrId("STRING_REMOTE_CONTROL_CONNECTION"), QStringLiteral("000000"), 18,
                                   QOVAFontBoldItalic);
    fitLabel(m_bleDetailViewName);
    m_bleDetailViewName->move(36, qRound(44 + 137.9));
    m_splitBleLine = new QWidget(this);
    m_splitBleLine->setAutoFillBackground(true);
    QPalette linePalette = m_splitBleLine->palette();
    linePalette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
    m_splitBleLine->setPalette(linePalette);
    m_splitBleLine->setGeometry(36, m_bleDetailViewName->geometry().bottom() + 1 + 12, 538, 1);
    m_splitBleLine->show();

    m_tipsLabel = rowLabel(this, qtTrId("STRING_REMOTE_CONTROL_TIPS"), QStringLiteral("000000"));
    const int tipsWidth = width() - 46 - 36;
    fitLabel(m_tipsLabel, tipsWidth);
    m_tipsLabel->move(36, m_splitBleLine->geometry().bottom() + 1 + 24);

    m_bleStatus = rowLabel(this, QStringLiteral("%1:").arg(qtTrId("STRING_REMOTE_CONTROL_CONNECTION")));
    m_bleStatus->setGeometry(36, m_tipsLabel->geometry().bottom() + 1 + 24, 150, 36);
    m_bleSwitch = rowSwitch(this);
    centreOn(m_bleSwitch, m_bleStatus, 200, 38, 18);
    connect(m_bleSwitch, &ITSwitch::triggered, this, [this] { clickBleEnable(); });
    m_remoteControStatusLabel = rowLabel(this, qtTrId("STRING_OFF"));
    centreLabelOn(m_remoteControStatusLabel, m_bleStatus, m_bleSwitch->geometry().right() + 1 + 8);
}

void QOVABLEFeatureView::setStatusText(QOVALabel *label, ITSwitch *sw, bool on)
{
    label->setStringValue(onOff(on));
    centreLabelOn(label, sw, sw->geometry().right() + 1 + 8);
}

void QOVABLEFeatureView::handleDisplayViewEvent()
{
    if (QOVABloothDelegate *d = m_delegate.get())
        d->requestBloothInformation();
}

void QOVABLEFeatureView::cancelDisplayViewEvent()
{
    if (m_pendingRestores > 0) {
        ++m_restoreGeneration;
        m_pendingRestores = 0;
        restoreAfterSpinner();
    }
}

void QOVABLEFeatureView::setDependentsEnabled(bool enabled)
{
    m_bleSwitch->setEnabled(enabled);
    m_checkButton->setEnabled(enabled);
}

void QOVABLEFeatureView::bloothInformationStatus(const std::shared_ptr<const BloothModel> &model)
{
    if (!model)
        return;
    setDependentsEnabled(model->isEnable());
    m_bluetoothSwitch->setChecked(model->isEnable());
    m_checkButton->setChecked(model->isAutopair_enable());
    setStatusText(m_statusLabel, m_bluetoothSwitch, model->isEnable());
    m_bleSwitch->setChecked(model->isBle_enable());
    setStatusText(m_remoteControStatusLabel, m_bleSwitch, model->isBle_enable());
}

void QOVABLEFeatureView::putBloothInfoToDevice()
{
    if (QOVABloothDelegate *d = m_delegate.get())
        d->bluetoothEnable(m_bluetoothSwitch->checked(), m_checkButton->checkState() == Qt::Checked,
                           m_bleSwitch->checked());
}

void QOVABLEFeatureView::clickBluetoothEnable()
{
    putBloothInfoToDevice();
    const bool on = m_bluetoothSwitch->checked();
    setStatusText(m_statusLabel, m_bluetoothSwitch, on);
    if (!on)
        setDependentsEnabled(false);
    m_bluetoothSwitch->hide();
    m_statusLabel->hide();
    m_indicator->show();
    m_indicator->startAnimation();
    ++m_pendingRestores;
    const quint64 generation = m_restoreGeneration;
    QTimer::singleShot(platform::scaledMs(2000), this, [this, generation] {
        if (generation != m_restoreGeneration)
            return;
        --m_pendingRestores;
        restoreAfterSpinner();
    });
}

void QOVABLEFeatureView::restoreAfterSpinner()
{
    m_indicator->stopAnimation();
    m_indicator->hide();
    m_bluetoothSwitch->show();
    m_statusLabel->show();
    setDependentsEnabled(m_bluetoothSwitch->checked());
}

void QOVABLEFeatureView::clickBleEnable()
{
    setStatusText(m_remoteControStatusLabel, m_bleSwitch, m_bleSwitch->checked());
    putBloothInfoToDevice();
}

void QOVABLEFeatureView::checkButtonEnable()
{
    putBloothInfoToDevice();
}
