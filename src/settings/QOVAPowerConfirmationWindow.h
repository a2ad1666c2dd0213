#pragma once
// A notice about powering the network camera through a USB power injector:
// a heading, an explanation and a Close button. Nothing in the application
// opens it yet; it shows as any child window does (centred, page dimmed).

#include "QOVAWindow.h"

class QOVAButton;
class QOVALabel;

class QOVAPowerConfirmationWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVAPowerConfirmationWindow(double width = 420, double height = 198);

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *descriptionLabel() const { return m_descriptionLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }

    // Closes the window and takes the page mask away.
    void closeWarningWindow();

private:
    void setupConfirmationUI();

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_descriptionLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
};
