#pragma once
// One image setting of the camera settings window: which control it is, its
// range and values as the camera reports them, and the automatic-mode control
// that belongs to it.

#include <QString>
#include <QtGlobal>

#include <memory>

class QOVACameraSettingModel;
using QOVACameraSettingModelRef = std::shared_ptr<QOVACameraSettingModel>;

class QOVACameraSettingModel {
public:
    QOVACameraSettingModel();

    // For an automatic-mode control: whether automatic mode is on.
    bool canAutoSet() const { return m_canAutoSet; }
    void setCanAutoSet(bool value) { m_canAutoSet = value; }
    // For an automatic-mode control: whether its default value is automatic.
    bool defaultAutoValue() const { return m_defaultAutoValue; }
    void setDefaultAutoValue(bool value) { m_defaultAutoValue = value; }
    // Set by every read of the setting.
    bool isSupported() const { return m_isSupported; }
    void setIsSupported(bool value) { m_isSupported = value; }

    QString name() const { return m_name; }               // control name ("brightness")
    void setName(const QString &value) { m_name = value; }
    QString displayName() const { return m_displayName; } // label the page shows
    void setDisplayName(const QString &value) { m_displayName = value; }

    // Index into the camera control table; -1 means none.
    qint64 controlType() const { return m_controlType; }
    void setControlType(qint64 value) { m_controlType = value; }

    qint64 maxValue() const { return m_maxValue; }
    void setMaxValue(qint64 value) { m_maxValue = value; }
    qint64 minValue() const { return m_minValue; }
    void setMinValue(qint64 value) { m_minValue = value; }
    qint64 defaultValue() const { return m_defaultValue; }
    void setDefaultValue(qint64 value) { m_defaultValue = value; }
    qint64 currentValue() const { return m_currentValue; }
    void setCurrentValue(qint64 value) { m_currentValue = value; }
    qint64 stepValue() const { return m_stepValue; }
    void setStepValue(qint64 value) { m_stepValue = value; }
    // Kept by the page to restore on Cancel.
    qint64 originalValue() const { return m_originalValue; }
    void setOriginalValue(qint64 value) { m_originalValue = value; }

    // The automatic-mode control of this value control (set by the page).
    QOVACameraSettingModelRef autoModel() const { return m_autoModel; }
    void setAutoModel(QOVACameraSettingModelRef value) { m_autoModel = std::move(value); }

private:
    bool m_canAutoSet = false;
    bool m_defaultAutoValue = false;
    bool m_isSupported = false;
    QString m_name;
    QString m_displayName;
    qint64 m_controlType = 0;
    qint64 m_maxValue = 0;
    qint64 m_minValue = 0;
    qint64 m_defaultValue = 0;
    qint64 m_currentValue = 0;
    qint64 m_stepValue = 0;
    qint64 m_originalValue = 0;
    QOVACameraSettingModelRef m_autoModel;
};
