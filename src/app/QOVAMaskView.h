#pragma once
// The page mask: laid over a page while a dialog is open or a long request
// runs. It swallows presses, releases and drags so the page below cannot be
// used; its opacity decides whether the page looks dimmed (0.3) or unchanged
// (0.0).

#include <QWidget>

class QOVAMaskView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAMaskView(QWidget *parent = nullptr);

    double alphaValue() const { return m_alpha; }
    void setAlphaValue(double alpha);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    double m_alpha = 0.3;
};
