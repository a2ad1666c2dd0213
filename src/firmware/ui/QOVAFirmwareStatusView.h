#pragma once
// "Up to date" or "Installed" with a date, in a firmware row.

#include <QWidget>

class QOVAImageView;
class QOVALabel;

class QOVAFirmwareStatusView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAFirmwareStatusView(QWidget *parent = nullptr);

    // Status 0: up to date; any other: installed.
    void setViewStatus(qint64 status, const QString &updateTime);

    QOVAImageView *statusImageView() const { return m_statusImageView; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QOVALabel *timeLabel() const { return m_timeLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVAImageView *m_statusImageView = nullptr;
    QOVALabel *m_statusLabel = nullptr;
    QOVALabel *m_timeLabel = nullptr;
};
