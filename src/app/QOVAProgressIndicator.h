#pragma once
// A spinning indicator: twelve spokes turning for as long as it animates.

#include <QWidget>

class QTimer;

class QOVAProgressIndicator : public QWidget {
    Q_OBJECT
public:
    explicit QOVAProgressIndicator(QWidget *parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer *m_timer = nullptr;
    int m_step = 0;
};
