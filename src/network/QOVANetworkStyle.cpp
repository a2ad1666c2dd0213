#include "QOVANetworkStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace qovanet {

namespace {

// The button's border, drawn over the button and kept at its size.
class ChooseFileBorder : public QWidget {
public:
    explicit ChooseFileBorder(QWidget *button)
        : QWidget(button)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(button->rect());
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        return false;
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(colorWithString(QStringLiteral("979797"), 1.0), 1));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
};

} // namespace

QOVAButton *chooseFileButton(QWidget *parent)
{
    auto *button = new QOVAButton(parent);
    button->setQovaButtonType(0);
    button->setBackgroundColor(Qt::white);
    button->setTextString(qtTrId("STRING_CHOOSE_FILE"));
    button->setTextColor(colorWithString(QStringLiteral("616161"), 1.0));
    new ChooseFileBorder(button);
    return button;
}

QOVALabel *fileNameLabel(QWidget *parent)
{
    auto *label = new QOVALabel(parent);
    label->setStringValue(qtTrId("STRING_NO_FILE_CHOSEN"));
    label->setTextColor(colorWithString(QStringLiteral("9b9b9b"), 1.0));
    label->setFont(fontWithSFProDisplay(12, QOVAFontRegular));
    label->setMaximumNumberOfLines(1);
    return label;
}

QFont systemFontOfSize(int size)
{
    QFont font = QApplication::font();
    font.setPixelSize(size);
    return font;
}

QOVALabel *rowLabel(QWidget *parent, const QString &text, const QFont &font)
{
    auto *label = new QOVALabel(parent);
    label->setStringValue(text);
    label->setFont(font);
    label->setTextColor(Qt::black);
    label->setAlignment(QOVALabel::AlignRight);
    label->setMaximumNumberOfLines(1);
    return label;
}

} // namespace qovanet
