#pragma once
// A small round dot of one colour (12 x 12 on the status pages): the
// provisioning state and the remote control's activity.

#include <QColor>
#include <QString>
#include <QWidget>

class QOVAStatusDotView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAStatusDotView(QWidget *parent = nullptr);

    // Six hexadecimal digits, as the pages give colours.
    void setColorString(const QString &hex);
    QString colorString() const { return m_colorString; }
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_colorString;
    QColor m_color = Qt::transparent;
};
