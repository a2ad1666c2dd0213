#pragma once
// The advanced image settings window: one slider row per image control of
// the camera (with the check box of its automatic partner), the power-line
// frequency pop-up, and Reset, Cancel and Save. Every change is written to
// the camera at once through the delegate; Reset writes the camera's
// defaults, Cancel writes back the values the window opened with, Save only
// closes. While it is open the page below takes no clicks.

#include "QOVACameraSettingItem.h"
#include "QOVACameraSettingModel.h"

#include <QList>
#include <QWidget>

class QOVAButton;
class QOVALabel;
class QOVAPopUpButton;

class QOVACameraSettingWindowDelegate {
public:
    virtual ~QOVACameraSettingWindowDelegate() = default;
    virtual void setCameraSettingData(const QOVACameraSettingModelRef &model, bool isReset) = 0;
    virtual void settingWindowClosed() = 0;
};

class QOVACameraSettingWindow : public QWidget, public QOVACameraSettingItemDelegate {
    Q_OBJECT
public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 432;

    QOVACameraSettingWindow();

    // Fills the window from the records; the last one is the power-line
    // frequency. Called once, before show.
    void setSettingModelArray(const QList<QOVACameraSettingModelRef> &models);
    QList<QOVACameraSettingModelRef> settingModelArray() const { return m_settingModelArray; }
    void setSettingDelegate(QOVACameraSettingWindowDelegate *delegate) { m_settingDelegate = delegate; }

    // Centred over the main window's content, in front; the page below is
    // blocked until the window closes.
    void show();
    bool isOpen() const { return m_open; }

    // The first record of the control index, or none.
    QOVACameraSettingModelRef getSettingModel(qint64 controlType) const;
    void updatePowerLineFrequencyUI();

    void resetSettings();
    void cancelSettings();
    void saveSettings();
    void handlePopBtn();
    void closeWindow();

    // The automatic controls ride on their partner's row.
    static bool isAutoControl(qint64 controlType);
    // The power-line values an item list offers for a range (at most the
    // three values 0, 1 and 2 are looked at; any other value keeps all).
    static QList<qint64> powerLineValues(qint64 minValue, qint64 maxValue, qint64 step);

    QList<QOVACameraSettingItem *> settingItemList() const { return m_settingItemList; }
    QOVACameraSettingItem *itemForControl(qint64 controlType) const;
    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *autoLabel() const { return m_autoLabel; }
    QOVALabel *powerLineTitleLabel() const { return m_powerLineTitleLabel; }
    QOVAPopUpButton *powerLinePopupButton() const { return m_powerLinePopupButton; }
    QOVAButton *resetButton() const { return m_resetButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVAButton *okButton() const { return m_okButton; }

    // QOVACameraSettingItemDelegate
    void settingItemValueChanged(QOVACameraSettingItem *item, const QOVACameraSettingModelRef &model) override;
    void settingItemSetAutoMode(QOVACameraSettingItem *item, const QOVACameraSettingModelRef &autoModel) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layoutFixedControls();
    void write(const QOVACameraSettingModelRef &model, bool isReset);
    void finishClosing();

    QList<QOVACameraSettingModelRef> m_settingModelArray;
    QList<QOVACameraSettingItem *> m_settingItemList;
    QOVACameraSettingWindowDelegate *m_settingDelegate = nullptr;
    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_autoLabel = nullptr;
    QOVALabel *m_powerLineTitleLabel = nullptr;
    QOVAPopUpButton *m_powerLinePopupButton = nullptr;
    QOVAButton *m_resetButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVAButton *m_okButton = nullptr;
    bool m_open = false;
};
