#include "QOVAAudioTestWindow.h"

#include "QOVASettingsStyle.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAProgressIndicator.h"
#include "platform/TimeScale.h"

#include <QTimer>
#include <QtMath>

#include <algorithm>

using namespace settingsstyle;

namespace {
constexpr qint64 kAudioTestSeconds = 180;
} // namespace

QOVAAudioTestWindow::QOVAAudioTestWindow(double width, double height)
    : QOVAPlainWindow(width, height, Mask::Dimming)
{
    setupAudioTestWindowUI();
}

QOVAAudioTestWindow::QOVAAudioTestWindow(const QRectF &frame)
    : QOVAPlainWindow(frame, Mask::Dimming)
{
    setupAudioTestWindowUI();
}

QOVAAudioTestWindow::~QOVAAudioTestWindow()
{
    cancelCountDown();
}

void QOVAAudioTestWindow::setupAudioTestWindowUI()
{
    const QString black = QStringLiteral("000000");
    m_titleLabel = rowLabel(this, qtTrId("STRING_AUDIO_TEST"), black, 13, QOVAFontBold);
    fitLabel(m_titleLabel);
    m_titleLabel->move(36, 17);

    m_tipLabel = rowLabel(this, qtTrId("STRING_AUDIO_TEST_DESCRIPTION"), black, 12, QOVAFontRegular);
    fitLabel(m_tipLabel, 348);
    m_tipLabel->move(36, m_titleLabel->geometry().bottom() + 1 + 9);

    m_statusImageView = new QOVAImageView(this);
    m_statusImageView->setImageName(QStringLiteral("radiobutton_checked"));
    m_statusImageView->setGeometry(36, m_tipLabel->geometry().bottom() + 1 + 8, 16, 16);

    m_statusLabel = rowLabel(this, qtTrId("STRING_RECORDING"), black, 12, QOVAFontRegular);

    m_stopButton = new QOVAButton(this);
    m_stopButton->setTextFont(fontWithSFProDisplay(13, QOVAFontRegular));
    m_stopButton->setTextString(qtTrId("STRING_STOP"));
    roundCorners(m_stopButton, 3);
    setButtonEnabled(m_stopButton, true);
    m_stopButton->setBorder(colorWithString(QStringLiteral("bdbdbd"), 1.0), 1);
    const int stopWidth = std::max(67, qCeil(m_stopButton->textLength()));
    m_stopButton->setGeometry(width() - 46 - stopWidth, height() - 18 - 20, stopWidth, 20);
    connect(m_stopButton, &QOVAButton::clicked, this, [this] { clickStopButton(); });

    m_remainingTimeLabel = rowLabel(this, QString(), black, 12, QOVAFontRegular);
    placeStatusRow();
    // Making the remaining time starts the countdown.
    countDownWithTimeout(kAudioTestSeconds, [this](qint64 minutes, qint64 seconds) {
        m_remainingTimeLabel->setStringValue(QString::asprintf("%lld:%02lld", minutes, seconds));
        placeStatusRow();
        if (minutes == 0 && seconds == 0)
            UpdateWindowToPacking();
    });
}

void QOVAAudioTestWindow::placeStatusRow()
{
    if (m_packing)
        return;
    const QSize status = m_statusLabel->sizeHint();
    centreOn(m_statusLabel, m_statusImageView, m_statusImageView->geometry().right() + 1 + 4, status.width() + 2,
             status.height());
    const QSize remaining = m_remainingTimeLabel->sizeHint();
    // A word space after the status text.
    centreOn(m_remainingTimeLabel, m_statusLabel, m_statusLabel->geometry().right() + 1 + 3, remaining.width() + 2,
             remaining.height());
}

bool QOVAAudioTestWindow::isCountingDown() const
{
    return m_timer && m_timer->isActive();
}

void QOVAAudioTestWindow::cancelCountDown()
{
    // Also called from the timer's own tick: it goes later.
    if (QTimer *timer = m_timer) {
        m_timer = nullptr;
        timer->stop();
        timer->deleteLater();
    }
}

void QOVAAudioTestWindow::countDownWithTimeout(qint64 timeout,
                                               std::function<void(qint64 minutes, qint64 seconds)> completeBlock)
{
    if (m_timer || timeout == 0)
        return;
    m_counter = timeout;
    m_timer = new QTimer(this);
    m_timer->setInterval(platform::scaledMs(1000));
    auto tick = [this, completeBlock] {
        if (m_counter > 0) {
            const qint64 minutes = qint32(m_counter) / 60;
            const qint64 seconds = m_counter - minutes * 60;
            --m_counter;
            completeBlock(minutes, seconds);
            return;
        }
        cancelCountDown();
        completeBlock(0, 0);
    };
    connect(m_timer, &QTimer::timeout, this, tick);
    m_timer->start();
    // The first change shows at once.
    tick();
}

void QOVAAudioTestWindow::UpdateWindowToPacking()
{
    setButtonEnabled(m_stopButton, false);
    // The grey outline it was made with, not the accent one.
    m_stopButton->setBorder(colorWithString(QStringLiteral("bdbdbd"), 1.0), 1);
    m_remainingTimeLabel->hide();
    m_statusLabel->setStringValue(qtTrId("STRING_PACKING"));
    m_statusImageView->hide();
    m_tipLabel->setStringValue(qtTrId("STRING_AUDIO_TEST_PACKING"));
    fitLabel(m_tipLabel, 348);
    m_packing = true;
    const QSize status = m_statusLabel->sizeHint();
    m_statusLabel->setGeometry(m_tipLabel->x(), height() - 40 - status.height(), status.width() + 2,
                               status.height());
    if (!m_indicator) {
        m_indicator = new QOVAProgressIndicator(this);
        m_indicator->startAnimation();
    }
    centreOn(m_indicator, m_statusLabel, m_statusLabel->geometry().right() + 1 + 5, 16, 16);
    m_indicator->show();
}

void QOVAAudioTestWindow::clickStopButton()
{
    QOVAAudioTestWindowDelegate *d = m_windowDelegate.get();
    if (!d)
        return;
    d->stopAudioRecord();
    UpdateWindowToPacking();
}

void QOVAAudioTestWindow::orderOut()
{
    cancelCountDown();
    QOVAPlainWindow::orderOut();
}
