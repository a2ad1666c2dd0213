#pragma once
// One row of the advanced image settings window: the control's title, a
// slider over its range, the value, and the check box of its automatic
// partner when it has one. Every value the slider reports is rounded to the
// control's step, kept inside its range, shown and handed to the delegate at
// once.

#include "QOVACameraSettingModel.h"

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QOVACameraSettingItem;
class QOVALabel;
class QSlider;

class QOVACameraSettingItemDelegate {
public:
    virtual ~QOVACameraSettingItemDelegate() = default;
    virtual void settingItemValueChanged(QOVACameraSettingItem *item, const QOVACameraSettingModelRef &model) = 0;
    virtual void settingItemSetAutoMode(QOVACameraSettingItem *item, const QOVACameraSettingModelRef &autoModel) = 0;
};

class QOVACameraSettingItem : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 24;

    explicit QOVACameraSettingItem(QOVACameraSettingModelRef model, QWidget *parent = nullptr);

    void setDelegate(QOVACameraSettingItemDelegate *delegate) { m_delegate = delegate; }
    QOVACameraSettingModelRef settingModel() const { return m_model; }

    // Shows the record's current state again.
    void reloadData();

    // The value a slider position stands for: the nearest multiple of the
    // step counted from zero (halves away from zero), then kept inside the
    // range. A step of 0 or less counts as 1.
    static qint64 roundedValue(double sliderValue, qint64 step, qint64 minValue, qint64 maxValue);

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QSlider *slider() const { return m_slider; }
    QOVALabel *valueLabel() const { return m_valueLabel; }
    QCheckBox *checkButton() const { return m_checkButton; }

    // Control actions.
    void sliderValueChanged(int value);
    void selectAuto(bool checked);

private:
    bool partnerAutoOn() const;
    void updateSliderEnabled();
    void showValue(qint64 value);

    QOVACameraSettingModelRef m_model;
    QOVACameraSettingItemDelegate *m_delegate = nullptr;
    QOVALabel *m_titleLabel = nullptr;
    QSlider *m_slider = nullptr;
    QOVALabel *m_valueLabel = nullptr;
    QCheckBox *m_checkButton = nullptr;
};
