#pragma once
// The audio test window: shown while the device records, with a three-minute
// countdown and a Stop button. Stop (or the countdown reaching 0:00) turns it
// into its packing state, a spinner and no button to press. The page is
// dimmed while it is open.
//
// The countdown is a 1 s timer on the main thread: it shows 3:00 at once,
// then one second less on each tick, and 0:00 with the packing state.

#include "QOVAAudioTestWindowDelegate.h"
#include "QOVAPlainWindow.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>

#include <functional>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QOVAProgressIndicator;
class QTimer;

class QOVAAudioTestWindow : public QOVAPlainWindow {
    Q_OBJECT
public:
    QOVAAudioTestWindow(double width, double height);
    explicit QOVAAudioTestWindow(const QRectF &frame);
    ~QOVAAudioTestWindow() override;

    void setWindowDelegate(QOVAAudioTestWindowDelegate *delegate) { m_windowDelegate.set(delegate); }

    QOVALabel *titleLabel() const { return m_titleLabel; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVAImageView *statusImageView() const { return m_statusImageView; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QOVAButton *stopButton() const { return m_stopButton; }
    QOVALabel *remainingTimeLabel() const { return m_remainingTimeLabel; }
    QOVAProgressIndicator *indicator() const { return m_indicator; }
    // Whether the countdown's timer runs.
    bool isCountingDown() const;
    bool isPacking() const { return m_packing; }

    // Hides the window and ends the countdown.
    void orderOut() override;
    void clickStopButton();
    // Counts the seconds down from timeout, calling completeBlock with the
    // minutes and seconds left on each tick (last with 0, 0); nothing when a
    // countdown runs already or timeout is 0.
    void countDownWithTimeout(qint64 timeout, std::function<void(qint64 minutes, qint64 seconds)> completeBlock);
    void UpdateWindowToPacking();

private:
    void setupAudioTestWindowUI();
    void placeStatusRow();
    void cancelCountDown();

    QOVALabel *m_titleLabel = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVAImageView *m_statusImageView = nullptr;
    QOVALabel *m_statusLabel = nullptr;
    QOVAButton *m_stopButton = nullptr;
    QOVALabel *m_remainingTimeLabel = nullptr;
    QOVAProgressIndicator *m_indicator = nullptr;
    QPointer<QTimer> m_timer;
    qint64 m_counter = 0;
    bool m_packing = false;
    QOVAWeakDelegate<QOVAAudioTestWindowDelegate> m_windowDelegate;
};
