#pragma once
// The five-step progress of the set-up: a 280 x 16 strip drawn by one image
// per step, with the steps' names above it (country, device name, Wi-Fi or
// network, provisioning, complete).

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QOVAImageView;
class QOVALabel;

class QOVAHalvexPageIndicatorView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAHalvexPageIndicatorView(QWidget *parent = nullptr);

    QOVALabel *countryLabel() const { return m_labels[0]; }
    QOVALabel *deviceNameLabel() const { return m_labels[1]; }
    QOVALabel *wifiLabel() const { return m_labels[2]; }
    QOVALabel *provisionLabel() const { return m_labels[3]; }
    QOVALabel *completeLabel() const { return m_labels[4]; }
    QOVAImageView *stepImageView() const { return m_stepImageView; }
    QStringList imageList() const { return m_imageList; }

    // 0 to 4; anything else is ignored.
    void setCurrentStep(int step);
    int currentStep() const { return m_currentStep; }

    // Places the labels round the strip again (after a label's text changed)
    // and takes the size that holds them.
    void setupPageIndicatorView();

private:
    QOVALabel *m_labels[5] = {};
    QOVAImageView *m_stepImageView = nullptr;
    QStringList m_imageList;
    int m_currentStep = -1;
};
