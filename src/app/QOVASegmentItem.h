#pragma once
// One segment of the navigation bar: a 28 x 28 icon, a caption under it and a
// red dot in the icon's top-right corner. Selected it shows its selected icon
// and a white bold caption; otherwise the plain icon and a dimmed caption.

#include "QOVAButton.h"

class QOVAImageView;
class QOVALabel;

class QOVASegmentItem : public QOVAButton {
    Q_OBJECT
public:
    QOVASegmentItem(const QString &unselectedImage, const QString &selectedImage,
                    const QString &title, QWidget *parent = nullptr);

    QOVAImageView *itemImageView() const { return m_itemImageView; }
    QOVALabel *titleLabel() const { return m_titleLabel; }
    QWidget *tipView() const { return m_tipView; }
    bool isSelected() const { return m_isSelected; }

    // Selected look (hides the dot); does nothing when already selected.
    void selected();
    // Plain look; the dot is left as it is.
    void unSelected();
    void showNotification(bool show);

    // The width the caption needs (at least the icon's).
    int contentWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void layoutContent();

    QString m_selectedImage;
    QString m_unSelectedImage;
    QOVAImageView *m_itemImageView = nullptr;
    QOVALabel *m_titleLabel = nullptr;
    QWidget *m_tipView = nullptr;
    bool m_isSelected = false;
};
