#pragma once
// The shared look of the settings pages: row titles, on/off switches with
// their status labels, accent and destructive buttons with rounded corners,
// and the on/off text. Layout stays with each page.

#include <QString>

class ITSwitch;
class QOVAButton;
class QOVALabel;
class QOVAProgressIndicator;
class QWidget;

namespace settingsstyle {

// Looks a text up by its key ("STRING_ON").
QString text(const char *key);
// "STRING_ON" or "STRING_OFF" looked up.
QString onOff(bool on);

// A label in the application's regular face at 13 points, colour "2e2e2e"
// unless given, with the text of the key.
QOVALabel *rowLabel(QWidget *parent, const QString &text, const QString &color = QStringLiteral("2e2e2e"),
                    double size = 13, int fontType = 1);
// A 38 x 18 switch, off, tinted "0077bd".
ITSwitch *rowSwitch(QWidget *parent);
// A rounded button of height 24: outlined accent ("0277bd" text and
// border) or filled red with white text.
QOVAButton *accentButton(QWidget *parent, const QString &title);
QOVAButton *destructiveButton(QWidget *parent, const QString &title);
// A rounded button of height 24 filled with the colour, with white text.
QOVAButton *filledButton(QWidget *parent, const QString &title, const QString &fill);
// Rounds the button's corners (radius in points) and draws its border.
void roundCorners(QOVAButton *button, double radius);
// The width of a rounded button: at least the minimum, and its title with
// the corner radius free at either side.
int pillWidth(const QOVAButton *button, double minimum, double radius = 12);
// The look of a page's outlined download button: accent border, white fill
// and accent title when enabled; grey border, light grey fill and grey title
// when not. The button stays clickable either way.
void setOutlinedButtonLook(QOVAButton *button, bool enabled);

// Sizes a label to its text (one line, or wrapped in the given width).
void fitLabel(QOVALabel *label, double width = 0);

} // namespace settingsstyle

namespace settingsstyle {
// Top of the first row: the given gap under the page's divider.
int underSplitLine(QWidget *page, int gap);
// Places the widget at x with its vertical centre on the anchor's centre.
void centreOn(QWidget *widget, const QWidget *anchor, int x, int width, int height);
// Places a label, sized to its text, at x centred on the anchor.
void centreLabelOn(QOVALabel *label, const QWidget *anchor, int x);

// The views of a window that waits for the device to send a file: a bold
// title, an explanation, "receiving" and a spinner beside it, turning.
struct ReceivingViews {
    QOVALabel *title = nullptr;
    QOVALabel *information = nullptr;
    QOVALabel *sending = nullptr;
    QOVAProgressIndicator *indicator = nullptr;
};
ReceivingViews addReceivingViews(QWidget *window, const QString &title, const QString &information);
} // namespace settingsstyle
