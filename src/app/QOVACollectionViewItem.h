#pragma once
// One tile of the device grid: the device's picture, a pale blue band with
// its product name and user-given name, and the veil while the device is in
// recovery mode or being updated. Large tiles (one or two devices) and small
// tiles (three or more) differ in band height and fonts.

#include "QOVADeviceListItem.h"

#include <QWidget>

class QOVACollectionCellMaskView;
class QOVAImageView;
class QOVALabel;

class QOVACollectionViewItem : public QWidget {
    Q_OBJECT
public:
    explicit QOVACollectionViewItem(QWidget *parent = nullptr);

    QString identifier() const { return QStringLiteral("cell"); }
    bool largeStyle() const { return m_largeStyle; }
    void setCellLargeStyle(bool large);
    // Draws the tile from the item (and writes the tile image name into it).
    void updateWithItem(QOVADeviceListItem &item);

    QOVAImageView *deviceImageView() const { return m_deviceImageView; }
    QWidget *deviceView() const { return m_deviceView; }
    QOVALabel *nameLabel() const { return m_nameLabel; }
    QOVALabel *userLabel() const { return m_userLabel; }
    QOVACollectionCellMaskView *maskView() const { return m_maskView; }
    int bandHeight() const { return m_bandHeight; }

signals:
    void clicked(QOVACollectionViewItem *item);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setupUI();
    void layoutContent();

    QOVAImageView *m_deviceImageView = nullptr;
    QWidget *m_deviceView = nullptr;
    QOVALabel *m_nameLabel = nullptr;
    QOVALabel *m_userLabel = nullptr;
    QOVACollectionCellMaskView *m_maskView = nullptr;
    QWidget *m_outline = nullptr;
    bool m_largeStyle = false;
    int m_bandHeight = 76;
    int m_nameTop = 16;
    int m_userGap = 6;
    bool m_pressed = false;
};
