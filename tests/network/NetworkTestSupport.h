#pragma once
// The network dialogs' tests: each dialog is opened directly over the
// running application's main window, through its delegate interface, and
// driven with clicks and key presses.

#include "ShellTestSupport.h"

#include "QOVAButton.h"
#include "QOVAPopUpButton.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>
#include <QTranslator>

namespace nettest {

using shelltest::waitUntil;

// Clicks a dialog button and lets its click arrive (buttons report on the
// next turn of the event loop).
inline void click(QOVAButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    shelltest::spin(20);
}

// Picks the item with the title as a user does (the list reports the pick).
inline void pick(QOVAPopUpButton *popup, const QString &title)
{
    const int index = popup->findText(title, Qt::MatchExactly);
    ASSERT_GE(index, 0) << qPrintable(title) << " in " << qPrintable(popup->itemTitles().join(QLatin1Char(',')));
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

// Types into a field as a user does (every key is an edit).
inline void type(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

inline void clear(QLineEdit *field)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
}

inline QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Visible to a user: shown, and every parent up to the window shown.
inline bool showing(const QWidget *widget)
{
    return widget && widget->isVisible();
}

// Texts of another language for a few keys, looked up before the English
// ones.
class OtherLanguage : public QTranslator {
public:
    QHash<QString, QString> texts;
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        return texts.value(QString::fromUtf8(sourceText));
    }
};

class NetworkFixture : public shelltest::ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        launch();
    }
    QRect content() const { return AppDelegate::mainContentScreenRect(); }
    bool pageDimmed() const;
    // The body of the last request the simulated device received.
    // The body of the last request the device received that carried one.
    static QJsonObject lastBody(const std::shared_ptr<sim::SimDevice> &device, QByteArray *raw = nullptr);
    // Saves a picture of the main window with the dialog over it.
    void shot(const QString &name) { shelltest::shot(delegate()->mainWindow(), name); }
};

} // namespace nettest
