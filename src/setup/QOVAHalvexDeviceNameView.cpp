#include "QOVAHalvexDeviceNameView.h"

#include "QOVAHalvexPageControlView.h"
#include "QOVAHalvexPageIndicatorView.h"
#include "QOVANameRuleWindow.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"
#include "QOVATextField.h"

#include <QtMath>

QOVAHalvexDeviceNameView::QOVAHalvexDeviceNameView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    setupDeviceNameView();
}

void QOVAHalvexDeviceNameView::setupDeviceNameView()
{
    setSubTitleText(qtTrId("OOB_CHANGE_DEVICE_NAME"));
    pageControlView()->setHidden(false);
    pageControlView()->setPageControlDelegate(this);
    pageIndicatorView()->setHidden(false);
    pageIndicatorView()->setCurrentStep(1);

    m_userNameLabel = new QOVALabel(this);
    m_userNameLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_userNameLabel->setTextColor(Qt::black);
    m_userNameLabel->setStringValue(qtTrId("OOB_DEVICE_NAME"));
    m_userNameLabel->setToolTip(QString());

    m_userNameTextField = new QOVATextField(this);
    m_userNameTextField->setStringValue(QStringLiteral("Zentaro Halvex"));

    m_tipLabel = new QOVALabel(this);
    m_tipLabel->setFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_tipLabel->setTextColor(colorWithString(QStringLiteral("212121"), 1.0));
    m_tipLabel->setStringValue(qtTrId("OOB_CHANGE_DEVICE_NAME_TIP"));
    m_tipLabel->setToolTip(QString());

    const QSize label = m_userNameLabel->sizeHint();
    m_userNameLabel->setGeometry(260, 143, label.width(), label.height());
    m_userNameTextField->setGeometry(260, m_userNameLabel->geometry().bottom() + 1 + 5, 280, 20);
    m_tipLabel->setGeometry(260, m_userNameTextField->geometry().bottom() + 1 + 16, 280,
                            qCeil(m_tipLabel->textSize(280).height()));
}

void QOVAHalvexDeviceNameView::setSettingsModel(const QOVADeviceListItemRef &model)
{
    m_settingsModel = model;
    if (!model || !model->isVasko() || m_nameRuleButton)
        return;
    m_nameRuleButton = new QOVAButton(this);
    m_nameRuleButton->setTextString(qtTrId("STRING_NAME_RULE"));
    m_nameRuleButton->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_nameRuleButton->setBackgroundColor(Qt::transparent);
    m_nameRuleButton->setGeometry(m_tipLabel->x() - 5, m_tipLabel->geometry().bottom() + 1 + 5,
                                  qCeil(m_nameRuleButton->textLength()), 16);
    m_nameRuleButton->show();
    connect(m_nameRuleButton, &QOVAButton::clicked, this, [this] { checkNameRules(); });
}

void QOVAHalvexDeviceNameView::checkNameRules()
{
    auto *window = new QOVANameRuleWindow(420, 210);
    window->show();
}

void QOVAHalvexDeviceNameView::pageControlGoNext(QOVAHalvexPageControlView *)
{
    const QString name = m_userNameTextField->stringValue();
    if (name.isEmpty())
        return;
    if (auto *d = deviceNameDelegate())
        d->changeDeviceName(name);
}
