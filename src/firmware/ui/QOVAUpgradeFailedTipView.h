#pragma once
// Why the last firmware update of a device failed: a warning icon and the
// reason, inside the device's row on the firmware page.

#include "QOVAError.h"

#include <QWidget>

class QOVAButton;
class QOVAImageView;
class QOVALabel;

class QOVAUpgradeFailedTipView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAUpgradeFailedTipView(QWidget *parent = nullptr);

    // The error's description (a generic failure text when it has none).
    void showFailedTip(const QOVAError &error);
    void showFailedString(const QString &text);

    QOVAImageView *imageView() const { return m_imageView; }
    QOVALabel *textLabel() const { return m_textLabel; }
    QOVAButton *tipButton() const { return m_tipButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QOVAImageView *m_imageView = nullptr;
    QOVALabel *m_textLabel = nullptr;
    QOVAButton *m_tipButton = nullptr;
};
