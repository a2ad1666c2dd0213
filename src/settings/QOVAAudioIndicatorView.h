#pragma once
// One channel of the microphone level meters: a caption on the left and a
// thin level bar with a row of scale texts above it. The bar spans from the
// first scale value less 20 to the last less 20 (decibels), so with the
// scale "-20" .. "20" it shows -40 dB to 0 dB and -20 dB sits under "0".

#include <QList>
#include <QStringList>
#include <QWidget>

class QOVALabel;

class QOVAAudioIndicatorView : public QWidget {
    Q_OBJECT
public:
    QOVAAudioIndicatorView(const QRect &frame, const QStringList &scaleArray, QWidget *parent = nullptr);

    QOVALabel *indicatorLabel() const { return m_indicatorLabel; }
    QWidget *indicator() const { return m_indicator; }
    QStringList scaleArray() const { return m_scaleArray; }
    const QList<QOVALabel *> &scaleLabels() const { return m_scaleLabels; }

    // The level in decibels, held within the bar's range; a level that is
    // not a number shows as the bar's minimum.
    void updateIndicator(double value);
    double minValue() const { return m_minValue; }
    double maxValue() const { return m_maxValue; }
    double doubleValue() const { return m_value; }

private:
    void setupUI();

    QOVALabel *m_indicatorLabel = nullptr;
    QWidget *m_indicator = nullptr;
    QStringList m_scaleArray;
    QList<QOVALabel *> m_scaleLabels;
    double m_minValue = 0;
    double m_maxValue = 0;
    double m_value = 0;
};
