#pragma once
// The application's push button: a flat self-drawn rectangle with a title and
// an optional 16 x 16 image in its lower right corner. It tracks the pointer
// itself and emits clicked() for a press and release inside it, on the next
// turn of the event loop.
//
// Two looks: type 0 keeps whatever colours the caller sets; type 1 is the
// outlined accent button that turns filled while hovered and pressed.

#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QOVAImageView;
class QVariantAnimation;

class QOVAButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double alphaValue READ alphaValue WRITE setAlphaValue)
public:
    explicit QOVAButton(QWidget *parent = nullptr);
    // A text link: the title in blue at the left edge, no fill.
    static QOVAButton *linkButton(QWidget *parent, const QString &text, const QFont &font);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    // The colour the rectangle is filled with.
    QColor effectBackgroundColor() const { return m_backgroundColor; }

    QString textString() const { return m_textString; }
    void setTextString(const QString &text);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    // Regular 13 until set. Setting the font does not redraw by itself.
    QFont textFont() const { return m_textFont; }
    void setTextFont(const QFont &font);
    // 1 centred title, 0 title at the left edge.
    int textAlignment() const { return m_textAlignment; }
    void setTextAlignment(int alignment);

    int qovaButtonType() const { return m_type; }
    void setQovaButtonType(int type);

    // While disabled the button ignores the pointer and emits nothing. A type 1
    // button is then drawn at opacity 0.3.
    bool disabled() const { return m_disabled; }
    void setDisabled(bool disabled);

    // The corner image, by application image name.
    QOVAImageView *imageView() const { return m_imageView; }
    void setImage(const QString &imageName);
    void hiddenImage(bool hidden);
    // The image in the middle of the button instead of its corner, for a
    // button that is an image alone (a close cross).
    void setImageCentred(bool centred);

    // The width the title needs: its width in the title font plus 10.
    double textLength() const;

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // Opacity of the whole button (title, fill, border and image).
    double alphaValue() const { return m_alpha; }
    void setAlphaValue(double alpha);

    // Look of a type 1 button, for tests and subclasses.
    int borderWidth() const { return m_borderWidth; }
    // A border of its own, for a look set by the caller.
    void setBorder(const QColor &color, int width)
    {
        m_borderColor = color;
        m_borderWidth = width;
        update();
    }
    QColor borderColor() const { return m_borderColor; }
    // Rounded corners (radius in points, at most half the height): the fill
    // and the border follow them, antialiased. 0, the default, is square.
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    bool isMouseInside() const { return m_mouseIn; }

    // Where the title is drawn, in widget coordinates.
    QRectF titleRect() const;

signals:
    // A press and release inside an enabled button; emitted on the next turn
    // of the event loop, after the release has been handled.
    void clicked(QOVAButton *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void pointerEntered();
    void pointerLeft();
    void animateAlphaToOne();
    void setOutlinedLook();
    void setHoverLook();
    void setPressedLook();
    void layoutImageView();

    QColor m_backgroundColor;
    QString m_textString;
    QColor m_textColor;
    QFont m_textFont;
    int m_textAlignment = 1;
    int m_type = 0;
    bool m_disabled = false;
    int m_tag = 0;
    double m_alpha = 1.0;
    int m_borderWidth = 0;
    QColor m_borderColor;
    double m_cornerRadius = 0;
    bool m_imageCentred = false;
    bool m_mouseDown = false;
    bool m_mouseIn = false;
    QOVAImageView *m_imageView = nullptr;
    QVariantAnimation *m_alphaAnimation = nullptr;
};
