#pragma once
// The empty page shown while no device is connected: a USB picture and two
// lines asking the user to connect a device. It registers itself with the
// application delegate as its main controller when its page loads.

#include "QOVABaseViewController.h"

class QOVAImageView;
class QOVALabel;

class QOVAMainViewController : public QOVABaseViewController {
    Q_OBJECT
public:
    explicit QOVAMainViewController(QObject *parent = nullptr);

    QOVAImageView *imageView() const { return m_imageView; }
    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *descriptionLabel() const { return m_descriptionLabel; }

protected:
    void viewDidLoad() override;

private:
    QOVAImageView *m_imageView = nullptr;
    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_descriptionLabel = nullptr;
};
