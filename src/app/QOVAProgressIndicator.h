#pragma once
// A spinning indicator: twelve spokes turning for as long as it animates.
// The spokes are dark grey, for the light windows and pages it mostly sits
// on; one over a dark mask is given white ones.

#include <QColor>
#include <QWidget>

class QTimer;

class QOVAProgressIndicator : public QWidget {
    Q_OBJECT
public:
    explicit QOVAProgressIndicator(QWidget *parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const;
    void setSpokeColor(const QColor &color);
    QColor spokeColor() const { return m_spokeColor; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *m_timer = nullptr;
    int m_step = 0;
    QColor m_spokeColor{0x4a, 0x4a, 0x4a};
};
