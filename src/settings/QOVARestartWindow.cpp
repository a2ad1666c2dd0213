#include "QOVARestartWindow.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QtMath>

using namespace settingsstyle;

QOVARestartWindow::QOVARestartWindow(double width, double height)
    : QOVAPlainWindow(width, height, Mask::Dimming)
{
    setupUI();
}

QOVARestartWindow::QOVARestartWindow(const QRectF &frame)
    : QOVAPlainWindow(frame, Mask::Dimming)
{
    setupUI();
}

void QOVARestartWindow::setupUI()
{
    m_titleLabel = rowLabel(this, QStringLiteral("Restart Zentaro Halvex"), QStringLiteral("000000"), 13, QOVAFontBold);
    fitLabel(m_titleLabel);
    m_titleLabel->move(34, 16);
    m_tipLabel = rowLabel(this,
                          QStringLiteral("Restart your device for the Bass Boost setting change to take effect. "
                                         "Click Restart button to restart the device, or click Cancel to cancel "
                                         "this change."),
                          QStringLiteral("000000"));
    fitLabel(m_tipLabel, 352);
    m_tipLabel->move(34, m_titleLabel->geometry().bottom() + 1 + 14);

    auto makeButton = [this](const char *key) {
        auto *button = new QOVAButton(this);
        button->setTextFont(fontWithSFProDisplay(14, QOVAFontRegular));
        button->setTextString(qtTrId(key));
        roundCorners(button, 3);
        setButtonEnabled(button, true);
        button->show();
        return button;
    };
    m_restartButton = makeButton("STRING_RESTART");
    m_cancelButton = makeButton("STRING_CANCEL");
    connect(m_restartButton, &QOVAButton::clicked, this, [this] { clickRestartButton(); });
    connect(m_cancelButton, &QOVAButton::clicked, this, [this] { clickCancelButton(); });
    layoutButtons();
}

void QOVARestartWindow::layoutButtons()
{
    if (!m_restartButton)
        return;
    const int restartWidth = qCeil(std::max(m_restartButton->textLength(), 67.0));
    const int cancelWidth = qCeil(std::max(m_cancelButton->textLength(), 67.0));
    const int restartRight = qRound(width() - 20.5);
    m_restartButton->setGeometry(restartRight - restartWidth, height() - 20 - 20, restartWidth, 20);
    const int cancelRight = qRound(m_restartButton->x() - 15.5);
    m_cancelButton->setGeometry(cancelRight - cancelWidth, m_restartButton->y(), cancelWidth, 20);
}

void QOVARestartWindow::resizeEvent(QResizeEvent *event)
{
    QOVAPlainWindow::resizeEvent(event);
    layoutButtons();
}

void QOVARestartWindow::clickCancelButton()
{
    if (QOVARestartWindowDelegate *d = m_delegate.get())
        d->cancelChange();
}

void QOVARestartWindow::clickRestartButton()
{
    if (QOVARestartWindowDelegate *d = m_delegate.get())
        d->restartDevice();
}
