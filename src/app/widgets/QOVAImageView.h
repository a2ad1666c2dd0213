#pragma once
// An image view that never takes a click: presses and releases fall through
// to the widget behind it. It shows an application image looked up by name
// (":/images/<name>.svg", then ".png", then the name as a path) and can cycle
// through a list of image names every half second.

#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QSvgRenderer;

class QOVAImageView : public QWidget {
    Q_OBJECT
public:
    enum ImageScaling {
        ScaleProportionallyDown,  // shrink to fit, keeping the aspect (the default)
        ScaleAxesIndependently,   // fill the frame on both axes
        ScaleNone,
        ScaleProportionallyUpOrDown,
    };

    explicit QOVAImageView(QWidget *parent = nullptr);
    ~QOVAImageView() override;

    // Looks the image up among the application's images; an empty or unknown
    // name clears the view.
    void setImageName(const QString &name);
    QString imageName() const { return m_imageName; }
    void setImage(const QPixmap &pixmap);
    bool hasImage() const;

    void setImageScaling(ImageScaling scaling);
    ImageScaling imageScaling() const { return m_scaling; }

    // Where an image name resolves to, or an empty text when there is none.
    static QString imagePath(const QString &name);

    // Opacity the image is drawn with (its owner may fade it).
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }

    // Frame animation. The list is a copy held by the view; none by default.
    void setAnimationImages(const std::optional<QStringList> &names);
    std::optional<QStringList> animationImages() const { return m_animationImages; }
    // Shows the first name at once and then the next one every 0.5 s, until
    // the list is cleared. Each call runs its own cycle with its own position.
    void startAnimating();
    // Clears the list; the running cycle ends at its next tick.
    void stopAnimating();

signals:
    // The image was set by name (also by each step of an animation).
    void imageNameChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF targetRect(const QSizeF &imageSize) const;

    QString m_imageName;
    QPixmap m_pixmap;
    std::unique_ptr<QSvgRenderer> m_svg;
    ImageScaling m_scaling = ScaleProportionallyDown;
    double m_opacity = 1.0;
    std::optional<QStringList> m_animationImages;
};
