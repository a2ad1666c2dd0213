#pragma once
// The look of every scroll bar of the application: a dark rounded thumb on a
// light track, no arrow buttons. The platform's light handle in a darker
// groove reads the wrong way round (the groove is taken for the part that
// moves). A proxy of the application's style, so every other control keeps
// the platform's look and only scroll bars change.

#include <QProxyStyle>

class QOVAScrollBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kExtent = 12;
    static constexpr int kThumbMargin = 2;
    static constexpr int kThumbRadius = 4;
    static constexpr int kMinimumThumbLength = 32;
    static QColor trackColor();
    static QColor thumbColor();
    static QColor activeThumbColor();

    // Takes the base style (or the platform's when null).
    explicit QOVAScrollBarStyle(QStyle *base = nullptr);

    // Makes this the application's style, over the style in use; a second
    // call changes nothing.
    static void installOnApplication();

    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &pos,
                                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
};
