#pragma once
// A small child window about powering the network camera over USB: a
// picture of a USB port, a description, two suggested solutions and a Close
// button. It sends nothing to the device.

#include "QOVAWindow.h"

class QOVAButton;
class QOVAImageView;
class QOVALabel;

class QOVAPowerWarningWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVAPowerWarningWindow(double width, double height);

    QOVAImageView *usbImageView() const { return m_usbImageView; }
    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *descriptionLabel() const { return m_descriptionLabel; }
    QOVALabel *solutionLabel() const { return m_solutionLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }

    // Closes the window and takes the page mask away.
    void closeWarningWindow();

private:
    void setupUI();

    QOVAImageView *m_usbImageView = nullptr;
    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_descriptionLabel = nullptr;
    QOVALabel *m_solutionLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
};
