#include "QOVADeviceInfoViewController.h"

#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVALabel.h"

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
}

QWidget *QOVADeviceInfoViewController::tabControlView()
{
    if (!m_tabControlView) {
        m_tabControlView = new QWidget(view());
        m_tabControlView->setObjectName(QStringLiteral("tabControlView"));
        qovaSetFrame(m_tabControlView, 0, 0, 210, 544);
    }
    return m_tabControlView;
}

void QOVADeviceInfoViewController::stopCameraPreview() {}
void QOVADeviceInfoViewController::stopReportAudioMeters() {}
