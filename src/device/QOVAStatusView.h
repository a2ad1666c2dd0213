#pragma once
// An earlier, simpler status page: the device picture, the name in large
// type, a hidden battery line and four labelled rows. Nothing fills its
// values; it is kept as a type with its look.

#include <QWidget>

class QOVAImageView;
class QOVALabel;

class QOVAStatusView : public QWidget {
    Q_OBJECT
public:
    explicit QOVAStatusView(QWidget *parent = nullptr);

    QOVAImageView *deviceImage() const { return m_deviceImage; }
    QOVALabel *deviceNameBig() const { return m_deviceNameBig; }
    QOVALabel *batteryLabel() const { return m_batteryLabel; }
    QOVAImageView *deviceBatteryIcon() const { return m_deviceBatteryIcon; }
    QOVALabel *deviceNameTitle() const { return m_deviceNameTitle; }
    QOVALabel *deviceName() const { return m_deviceName; }
    QOVALabel *softwareVersionTitle() const { return m_softwareVersionTitle; }
    QOVALabel *softwareVersion() const { return m_softwareVersion; }
    QOVALabel *serialNumberTitleLabel() const { return m_serialNumberTitleLabel; }
    QOVALabel *serialNumberLabel() const { return m_serialNumberLabel; }
    QOVALabel *referenceTitleLabel() const { return m_referenceTitleLabel; }
    QOVALabel *referenceLabel() const { return m_referenceLabel; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupUI();
    void layoutUI();
    QOVALabel *makeLabel(const QString &name, int fontType, double size);

    QOVAImageView *m_deviceImage = nullptr;
    QOVALabel *m_deviceNameBig = nullptr;
    QOVALabel *m_batteryLabel = nullptr;
    QOVAImageView *m_deviceBatteryIcon = nullptr;
    QOVALabel *m_deviceNameTitle = nullptr;
    QOVALabel *m_deviceName = nullptr;
    QOVALabel *m_softwareVersionTitle = nullptr;
    QOVALabel *m_softwareVersion = nullptr;
    QOVALabel *m_serialNumberTitleLabel = nullptr;
    QOVALabel *m_serialNumberLabel = nullptr;
    QOVALabel *m_referenceTitleLabel = nullptr;
    QOVALabel *m_referenceLabel = nullptr;
};
