#include "QOVASettingsStyle.h"

#include "QOVAProgressIndicator.h"

#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QtMath>

namespace settingsstyle {

int pillWidth(const QOVAButton *button, double minimum, double radius)
{
    // The title clear of the round ends: the radius free at either side.
    const double title = button->textLength() - 10;
    return qCeil(std::max(minimum, title + 2 * radius));
}

QString text(const char *key)
{
    return qtTrId(key);
}

QString onOff(bool on)
{
    return on ? qtTrId("STRING_ON") : qtTrId("STRING_OFF");
}

QOVALabel *rowLabel(QWidget *parent, const QString &text, const QString &color, double size, int fontType)
{
    auto *label = new QOVALabel(parent);
    label->setFont(fontWithSFProDisplay(size, fontType));
    label->setTextColor(colorWithString(color, 1.0));
    label->setStringValue(text);
    label->show();
    return label;
}

ITSwitch *rowSwitch(QWidget *parent)
{
    auto *sw = new ITSwitch(parent);
    sw->resize(38, 18);
    sw->setChecked(false);
    sw->setTintColor(colorWithString(QStringLiteral("0077bd"), 1.0));
    sw->show();
    return sw;
}

void roundCorners(QOVAButton *button, double radius)
{
    button->setCornerRadius(radius);
}

QOVAButton *accentButton(QWidget *parent, const QString &title)
{
    auto *button = new QOVAButton(parent);
    button->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    button->setTextString(title);
    button->setQovaButtonType(1);
    button->setTextColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    roundCorners(button, 12);
    button->show();
    return button;
}

QOVAButton *filledButton(QWidget *parent, const QString &title, const QString &fill)
{
    auto *button = new QOVAButton(parent);
    button->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    button->setTextString(title);
    button->setQovaButtonType(0);
    button->setTextColor(colorWithString(QStringLiteral("ffffff"), 1.0));
    button->setBackgroundColor(colorWithString(fill, 1.0));
    roundCorners(button, 12);
    button->show();
    return button;
}

QOVAButton *destructiveButton(QWidget *parent, const QString &title)
{
    return filledButton(parent, title, QStringLiteral("d11b23"));
}

void fitLabel(QOVALabel *label, double width)
{
    const QSizeF size = label->textSize(width > 0 ? width : 10000);
    label->resize(qCeil(width > 0 ? width : size.width()) + (width > 0 ? 0 : 2), qCeil(size.height()));
}

} // namespace settingsstyle

namespace settingsstyle {

int underSplitLine(QWidget *page, int gap)
{
    // The divider of every settings page is 1 point high at 44 from the top.
    (void)page;
    return 45 + gap;
}

void centreOn(QWidget *widget, const QWidget *anchor, int x, int width, int height)
{
    const QRect a = anchor->geometry();
    widget->setGeometry(x, a.y() + qRound((a.height() - height) / 2.0), width, height);
}

void centreLabelOn(QOVALabel *label, const QWidget *anchor, int x)
{
    const QSize hint = label->sizeHint();
    centreOn(label, anchor, x, hint.width() + 2, hint.height());
}

} // namespace settingsstyle

namespace settingsstyle {

void setOutlinedButtonLook(QOVAButton *button, bool enabled)
{
    if (!button)
        return;
    const QString accent = enabled ? QStringLiteral("0277bd") : QStringLiteral("d1d1d2");
    button->setBorder(colorWithString(accent, 1.0), 1);
    button->setBackgroundColor(enabled ? QColor(Qt::white) : colorWithString(QStringLiteral("ececec"), 1.0));
    button->setTextColor(colorWithString(accent, 1.0));
    button->setQovaButtonType(enabled ? 1 : 0);
}

ReceivingViews addReceivingViews(QWidget *window, const QString &title, const QString &information)
{
    const QString black = QStringLiteral("000000");
    ReceivingViews views;
    views.title = rowLabel(window, title, black, 13, QOVAFontBold);
    fitLabel(views.title, 262);
    views.title->move(37, 20);
    views.information = rowLabel(window, information, black, 12, QOVAFontRegular);
    fitLabel(views.information, 350);
    views.information->resize(350, std::max(views.information->height(), 31));
    views.information->move(37, views.title->geometry().bottom() + 1 + 9);
    views.sending = rowLabel(window, qtTrId("STRING_SENDING_LOGS"), black, 12, QOVAFontRegular);
    fitLabel(views.sending);
    views.sending->resize(views.sending->width(), std::max(views.sending->height(), 17));
    views.sending->move(37, views.information->geometry().bottom() + 1 + 2);
    views.indicator = new QOVAProgressIndicator(window);
    centreOn(views.indicator, views.sending, views.sending->geometry().right() + 1 + 5, 16, 16);
    views.indicator->show();
    views.indicator->startAnimation();
    return views;
}

} // namespace settingsstyle
