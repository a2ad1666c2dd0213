#pragma once
// The veil over a tile while its device is in recovery mode (type 1) or
// being updated (type 0): a pale layer with an icon and a line of text. It
// takes no clicks; the device list refuses clicks on such tiles itself.

#include <QWidget>

class QOVAImageView;
class QOVALabel;

class QOVACollectionCellMaskView : public QWidget {
    Q_OBJECT
public:
    explicit QOVACollectionCellMaskView(QWidget *parent = nullptr);

    void updateWithType(qint64 type);

    QOVAImageView *iconImageView() const { return m_iconImageView; }
    QOVALabel *tipLabel() const { return m_tipLabel; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutContent();

    QOVAImageView *m_iconImageView = nullptr;
    QOVALabel *m_tipLabel = nullptr;
};
