#pragma once
// The bar across the top 56 points of the main window. Two segments (device
// settings, tag 0; firmware update, tag 1) with red notification dots, a
// white line under the selected one, and a back button to the device list.
// Style 0 is the plain dark bar of the empty page, 1 the blue bar with
// segments, 2 the same with the back button. A press on the bar's free area
// drags the window.

#include <QColor>
#include <QPoint>
#include <QWidget>

class QOVAButton;
class QOVAImageView;
class QOVASegmentItem;

class QOVANavigationView : public QWidget {
    Q_OBJECT
public:
    explicit QOVANavigationView(QWidget *parent = nullptr);

    int navigationStyle() const { return m_style; }
    void setNavigationStyle(qint64 style);
    // Moves the selection to the segment with that tag; nobody is told.
    void selectNavigateItem(qint64 tag);
    // Red dot of segment 0 (device settings) or 1 (firmware update).
    void showNotificationType(qint64 type);
    void removeNotificationType(qint64 type);

    // A click on a segment: the application delegate is told, then the
    // selection moves.
    void didSelectedSegmentItem(QOVASegmentItem *sender);
    void changeIndicatorWithItem(QOVASegmentItem *item);
    // The back button: the device list, and the device-settings dot hidden.
    void navigationPop();

    QColor backgroundColor() const { return m_backgroundColor; }
    QWidget *segmentView() const { return m_segmentView; }
    QOVAButton *backButton() const { return m_backButton; }
    QOVASegmentItem *settingItem() const { return m_settingItem; }
    QOVASegmentItem *updateItem() const { return m_updateItem; }
    QWidget *indicateLine() const { return m_indicateLine; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void layoutSegmentView();
    void placeIndicator(QOVASegmentItem *item);

    QColor m_backgroundColor;
    int m_style = -1;
    QWidget *m_segmentView = nullptr;
    QOVAButton *m_backButton = nullptr;
    QOVAImageView *m_backImage = nullptr;
    QOVASegmentItem *m_settingItem = nullptr;
    QOVASegmentItem *m_updateItem = nullptr;
    QWidget *m_indicateLine = nullptr;
    QOVASegmentItem *m_indicated = nullptr;

    bool m_dragging = false;
    QPoint m_lastPointer;
    QPoint m_windowOrigin;
};
