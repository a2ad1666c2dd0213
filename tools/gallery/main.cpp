// Shows every control of the widget kit in its states, the way the pages
// place them (bottom-left frames), and saves a screenshot:
//   widget_gallery [file.png]     saves (default widget-gallery.png) and quits
//   widget_gallery --show         stays open
#include "HyperlinkTextField.h"
#include "ITSwitch.h"
#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVADate.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAPasswordView.h"
#include "QOVAPopUpButton.h"
#include "QOVAScrollView.h"
#include "QOVASecureTextView.h"
#include "QOVATextField.h"

#include <QApplication>
#include <QDateTime>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr int kWidth = 820;
constexpr int kHeight = 600;

QOVALabel *caption(QWidget *page, const QString &text, double x, double y, double w = 180)
{
    auto *label = new QOVALabel(page);
    label->setFont(fontWithSFProDisplay(12, QOVAFontBold));
    label->setTextColor(colorWithString("616161", 1.0));
    label->setStringValue(text);
    qovaSetFrame(label, x, y, w, 16);
    return label;
}

QOVALabel *note(QWidget *page, const QString &text, double x, double y, double w = 90)
{
    auto *label = new QOVALabel(page);
    label->setFont(fontWithSFProDisplay(10, QOVAFontRegular));
    label->setTextColor(colorWithString("9e9e9e", 1.0));
    label->setAlignment(QOVALabel::AlignCenter);
    label->setStringValue(text);
    qovaSetFrame(label, x, y, w, 14);
    return label;
}

QOVAButton *button(QWidget *page, const QString &title, int type, double x, double y)
{
    auto *b = new QOVAButton(page);
    b->setTextString(title);
    qovaSetFrame(b, x, y, 100, 28);
    b->setQovaButtonType(type);
    return b;
}

// Puts a type 1 button into its hover or pressed look as a pointer would.
void hover(QOVAButton *b)
{
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(b, &enter);
}

void press(QOVAButton *b)
{
    hover(b);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(b, &down);
}

ITSwitch *switchAt(QWidget *page, double x, double y, bool checked, bool enabled)
{
    auto *s = new ITSwitch(page);
    qovaSetFrame(s, x, y, 38, 18);
    s->setTintColor(colorWithString("0077bd", 1.0));
    s->setChecked(checked);
    s->setEnabled(enabled);
    return s;
}

QWidget *buildGallery()
{
    auto *page = new QWidget;
    page->setWindowTitle(QStringLiteral("Widget kit"));
    page->setFixedSize(kWidth, kHeight);
    page->setAutoFillBackground(true);
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, colorWithString("f5f5f5", 1.0));
    page->setPalette(pal);

    // Buttons: outlined accent in its three looks and disabled, plain ones.
    caption(page, "QOVAButton", 20, 570);
    QOVAButton *rest = button(page, "Outlined", 1, 20, 530);
    note(page, "rest", 25, 512);
    QOVAButton *hovered = button(page, "Outlined", 1, 130, 530);
    hover(hovered);
    note(page, "hover", 135, 512);
    QOVAButton *pressed = button(page, "Outlined", 1, 240, 530);
    press(pressed);
    note(page, "pressed", 245, 512);
    QOVAButton *disabled = button(page, "Outlined", 1, 350, 530);
    disabled->setDisabled(true);
    note(page, "disabled", 355, 512);
    QOVAButton *plain = button(page, "Apply", 0, 460, 530);
    plain->setBackgroundColor(colorWithString("0277bd", 1.0));
    plain->setTextColor(Qt::white);
    note(page, "type 0", 465, 512);
    QOVAButton *left = button(page, "Left title", 0, 570, 530);
    left->setTextAlignment(0);
    left->setBackgroundColor(colorWithString("e0e0e0", 1.0));
    note(page, "left aligned", 575, 512);
    QOVAButton *image = button(page, "Image", 0, 680, 530);
    image->setBackgroundColor(colorWithString("e0e0e0", 1.0));
    image->setImage(QStringLiteral("gallery_corner"));
    note(page, "corner image", 685, 512);
    (void)rest;

    // Labels: alignments, top alignment, wrapping, right-aligned lines.
    caption(page, "QOVALabel", 20, 480);
    struct LabelCase {
        const char *text;
        int alignment;
        bool top;
        int lines;
        const char *what;
    } const labels[] = {
        {"Left aligned", QOVALabel::AlignLeft, false, 0, "left, centred in height"},
        {"Centred", QOVALabel::AlignCenter, false, 0, "centred"},
        {"Right aligned", QOVALabel::AlignRight, false, 0, "right"},
        {"At the top", QOVALabel::AlignLeft, true, 0, "top alignment"},
        {"Words wrap over several lines of the label", QOVALabel::AlignLeft, false, 0, "wrapping"},
        {"first line\nsecond line", QOVALabel::AlignRight, false, 0, "right, two lines"},
        {"One line only, however long the text is", QOVALabel::AlignLeft, false, 1, "one line"},
    };
    double x = 20;
    for (const LabelCase &item : labels) {
        auto *frame = new QWidget(page);
        frame->setAutoFillBackground(true);
        QPalette fp = frame->palette();
        fp.setColor(QPalette::Window, Qt::white);
        frame->setPalette(fp);
        qovaSetFrame(frame, x, 420, 104, 48);
        auto *label = new QOVALabel(frame);
        label->setGeometry(0, 0, 104, 48);
        label->setAlignment(item.alignment);
        label->setIsTopAlignment(item.top);
        label->setMaximumNumberOfLines(item.lines);
        if (item.lines == 1)
            label->setLineBreakMode(QOVALabel::ByTruncatingTail);
        label->setStringValue(QString::fromUtf8(item.text));
        note(page, QString::fromUtf8(item.what), x, 402, 104);
        x += 112;
    }

    // Text fields and password entries.
    caption(page, "Text fields", 20, 372);
    auto *field = new QOVATextField(page);
    qovaSetFrame(field, 20, 340, 180, 24);
    field->setPlaceholderText(QStringLiteral("Device name"));
    note(page, "empty, placeholder", 20, 322, 180);
    auto *filled = new QOVATextField(page);
    qovaSetFrame(filled, 220, 340, 180, 24);
    filled->setStringValue(QStringLiteral("Meeting room 4"));
    note(page, "with text", 220, 322, 180);
    auto *hidden = new QOVASecureTextView(page);
    qovaSetFrame(hidden, 420, 340, 180, 24);
    hidden->setPasswordString(QStringLiteral("secret"));
    note(page, "secure view, hidden", 420, 322, 180);
    auto *shown = new QOVASecureTextView(page);
    qovaSetFrame(shown, 620, 340, 180, 24);
    shown->setPasswordString(QStringLiteral("secret"));
    shown->setShowPassword(true);
    note(page, "secure view, shown", 620, 322, 180);
    auto *row = new QOVAPasswordView(page);
    qovaSetFrame(row, 20, 290, row->width(), row->height());
    row->securePwdTextField()->setText(QStringLiteral("admin"));
    note(page, "QOVAPasswordView", 420, 293, 120);

    // Pop-up buttons.
    caption(page, "QOVAPopUpButton", 20, 256);
    auto *popUp = new QOVAPopUpButton(page);
    qovaSetFrame(popUp, 20, 224, 160, 24);
    popUp->addItemsWithTitles({"Auto framing", "Speaker tracking", "Off"});
    popUp->setFontWithString("616161", 1.0, 14, 1);
    note(page, "styled 616161, 14", 20, 206, 160);
    auto *disabledPopUp = new QOVAPopUpButton(page);
    qovaSetFrame(disabledPopUp, 200, 224, 160, 24);
    disabledPopUp->addItemsWithTitles({"Disabled"});
    disabledPopUp->setFontWithString("616161", 1.0, 14, 1);
    disabledPopUp->setEnabled(false);
    note(page, "disabled (ececec)", 200, 206, 160);
    auto *longPopUp = new QOVAPopUpButton(page);
    qovaSetFrame(longPopUp, 380, 224, 120, 24);
    longPopUp->addItemsWithTitles({"A title far too long for the button"});
    longPopUp->setFontWithString("616161", 1.0, 14, 1);
    note(page, "ellipsis", 380, 206, 120);
    auto *plainPopUp = new QOVAPopUpButton(page);
    qovaSetFrame(plainPopUp, 520, 224, 120, 24);
    plainPopUp->addItemsWithTitles({"Not styled"});
    note(page, "plain titles", 520, 206, 120);

    // Switches.
    caption(page, "ITSwitch", 20, 176);
    switchAt(page, 20, 150, false, true);
    note(page, "off", 9, 132, 60);
    switchAt(page, 90, 150, true, true);
    note(page, "on", 79, 132, 60);
    switchAt(page, 160, 150, false, false);
    note(page, "off, disabled", 139, 132, 80);
    switchAt(page, 240, 150, true, false);
    note(page, "on, disabled", 219, 132, 80);
    auto *defaultTint = new ITSwitch(page);
    qovaSetFrame(defaultTint, 320, 150, 38, 18);
    defaultTint->setChecked(true);
    note(page, "default tint", 299, 132, 80);

    // Hyperlink text, image view and scroll view.
    caption(page, "HyperlinkTextField", 420, 176);
    auto *link = new HyperlinkTextField(page);
    qovaSetFrame(link, 420, 110, 200, 60);
    link->setHtml(QStringLiteral(
        "<span style=\"font-family:'Liberation Sans'; font-size:13px; color:#2e2e2e\">A new version is available. "
        "Read the <a style=\"color:#0277bd\" href=\"https://example.com/notes\">release notes and licence "
        "terms</a> first.</span>"));

    caption(page, "QOVAScrollView", 640, 176, 160);
    auto *scroll = new QOVAScrollView(page);
    qovaSetFrame(scroll, 640, 70, 160, 100);
    auto *scrollContent = new QOVALabel;
    scrollContent->setBackgroundColor(Qt::white);
    scrollContent->setIsTopAlignment(true);
    scrollContent->resize(140, 300);
    scrollContent->setStringValue(QStringLiteral("\n\nScrolling with the wheel is off until the owner switches it on."));
    scroll->setWidget(scrollContent);
    note(page, "wheel off", 640, 52, 160);

    caption(page, "QOVAImageView and date", 20, 96, 240);
    auto *imageView = new QOVAImageView(page);
    qovaSetFrame(imageView, 20, 40, 48, 48);
    imageView->setImageScaling(QOVAImageView::ScaleProportionallyUpOrDown);
    imageView->setImageName(QStringLiteral("gallery_corner"));
    auto *date = new QOVALabel(page);
    date->setFont(fontWithSFProDisplay(13, QOVAFontItalic));
    date->setStringValue(QStringLiteral("Today: ") + customizeToString(QDateTime::currentDateTime()));
    qovaSetFrame(date, 80, 56, 200, 16);

    return page;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QWidget *gallery = buildGallery();
    gallery->show();
    if (args.contains(QStringLiteral("--show")))
        return app.exec();

    const QString file = args.isEmpty() ? QStringLiteral("widget-gallery.png") : args.first();
    // Let the switches' animations settle before the picture is taken.
    QTimer::singleShot(700, gallery, [gallery, file] {
        const bool saved = gallery->grab().save(file);
        QApplication::exit(saved ? 0 : 1);
    });
    return app.exec();
}
