#include "QOVALabFeatureView.h"

#include "QOVASettingsStyle.h"

#include "ITSwitch.h"
#include "QOVADeviceModel.h"
#include "QOVALabel.h"
#include "models/ConversationModeModel.h"
#include "models/LectureModeModel.h"
#include "platform/TimeScale.h"

#include <QTimer>

#include <charconv>

using namespace settingsstyle;

namespace {

// The pause between the two reads of one showing.
constexpr int kLabRequestSpacingMs = 10;
// Firmware above this number has the presenter row.
constexpr double kLectureModeVersion = 1.2;
// Row geometry: titles at 36, switches at 200, state texts 8 right of the
// switch, notes 24 under the state text and 46 in from the right edge.
constexpr int kRowLeft = 36;
constexpr int kSwitchLeft = 200;
constexpr int kNoteRightInset = 46;

int below(const QWidget *widget, int gap)
{
    return widget->geometry().bottom() + 1 + gap;
}

} // namespace

QOVALabFeatureView::QOVALabFeatureView(QWidget *parent)
    : QOVADisplayBaseView(parent)
{
    detailViewName()->setStringValue(qtTrId("STRING_LAB_FEATURE"));
    m_lectureRequestTimer = new QTimer(this);
    m_lectureRequestTimer->setSingleShot(true);
    connect(m_lectureRequestTimer, &QTimer::timeout, this, [this] {
        if (QOVALabFeatureDelegate *d = m_delegate.get())
            d->requestLectureModeInformation();
    });

    updateLabFeatureUI();
    if (hasLectureMode(QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion()))
        updateLectureUI();
}

double QOVALabFeatureView::leadingVersionNumber(const QString &version)
{
    // Blanks before the number are skipped, as is a plus sign; the number
    // ends at the first character that cannot continue it ("1.3.0" reads
    // 1.3). Read in single precision on purpose: "1.2" is 1.2000000477.
    const QByteArray text = version.trimmed().toLatin1();
    const char *begin = text.constData();
    const char *end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    float number = 0.0f;
    const auto result = std::from_chars(begin, end, number, std::chars_format::general);
    if (result.ec != std::errc())
        return 0.0;
    return double(number);
}

bool QOVALabFeatureView::hasLectureMode(const QString &version)
{
    return leadingVersionNumber(version) > kLectureModeVersion;
}

void QOVALabFeatureView::updateLabFeatureUI()
{
    m_conversationModeStatus = rowLabel(this, qtTrId("STRING_CONVERSATION_MODE"));
    m_conversationModeStatus->setGeometry(kRowLeft, underSplitLine(this, 16), 150, 36);

    m_conversationModeSwitch = rowSwitch(this);
    m_conversationModeSwitch->setChecked(true);
    centreOn(m_conversationModeSwitch, m_conversationModeStatus, kSwitchLeft, 38, 18);
    connect(m_conversationModeSwitch, &ITSwitch::triggered, this, [this] { toggledConversationModeSwitch(); });

    m_statusLabel = rowLabel(this, qtTrId("STRING_ON"));
    setStateText(m_statusLabel, m_conversationModeSwitch, true);

    m_noteLabel = rowLabel(this, qtTrId("STRING_CONVERSATION_MODE_TIPS"), QStringLiteral("000000"));
    fitLabel(m_noteLabel, width() - kNoteRightInset - kRowLeft);
    m_noteLabel->move(kRowLeft, below(m_statusLabel, 24));
}

void QOVALabFeatureView::updateLectureUI()
{
    m_lectureModeStatus = rowLabel(this, qtTrId("STRING_PRESENTER_MODE"));
    m_lectureModeStatus->setGeometry(kRowLeft, below(m_noteLabel, 0), 150, 36);

    m_lectureModeSwitch = rowSwitch(this);
    m_lectureModeSwitch->setChecked(true);
    centreOn(m_lectureModeSwitch, m_lectureModeStatus, kSwitchLeft, 38, 18);
    connect(m_lectureModeSwitch, &ITSwitch::triggered, this, [this] { toggledLectureModeSwitch(); });

    m_lectureStatusLabel = rowLabel(this, qtTrId("STRING_ON"));
    setStateText(m_lectureStatusLabel, m_lectureModeSwitch, true);

    m_presenterModeNote = rowLabel(this, qtTrId("STRING_PRESENTER_MODE_TIPS"), QStringLiteral("000000"));
    fitLabel(m_presenterModeNote, width() - kNoteRightInset - kRowLeft);
    m_presenterModeNote->move(kRowLeft, below(m_lectureStatusLabel, 24));
}

void QOVALabFeatureView::setStateText(QOVALabel *label, const ITSwitch *anchor, bool on)
{
    if (!label || !anchor)
        return;
    label->setStringValue(onOff(on));
    centreLabelOn(label, anchor, anchor->geometry().right() + 1 + 8);
}

void QOVALabFeatureView::handleDisplayViewEvent()
{
    QOVADisplayBaseView::handleDisplayViewEvent();
    if (QOVALabFeatureDelegate *d = m_delegate.get())
        d->requestConversationModeInformation();
    // The presenter mode is asked a moment later, never by holding up the
    // main thread.
    m_lectureRequestTimer->start(platform::scaledMs(kLabRequestSpacingMs));
}

void QOVALabFeatureView::cancelDisplayViewEvent()
{
    QOVADisplayBaseView::cancelDisplayViewEvent();
    m_lectureRequestTimer->stop();
}

// The user's flips. The other row can only have been flipped while this
// mode was off, so only the changed mode is written. The write is made
// whenever there is an owner: every owner of the page writes modes.

void QOVALabFeatureView::toggledConversationModeSwitch()
{
    const bool on = m_conversationModeSwitch->checked();
    setStateText(m_statusLabel, m_conversationModeSwitch, on);
    if (m_lectureModeSwitch) {
        if (on)
            setStateText(m_lectureStatusLabel, m_lectureModeSwitch, false);
        m_lectureModeSwitch->setEnabled(!on);
    }
    if (QOVALabFeatureDelegate *d = m_delegate.get())
        d->setconversationMode(on);
}

void QOVALabFeatureView::toggledLectureModeSwitch()
{
    if (!m_lectureModeSwitch)
        return;
    const bool on = m_lectureModeSwitch->checked();
    setStateText(m_lectureStatusLabel, m_lectureModeSwitch, on);
    if (on)
        setStateText(m_statusLabel, m_conversationModeSwitch, false);
    m_conversationModeSwitch->setEnabled(!on);
    if (QOVALabFeatureDelegate *d = m_delegate.get())
        d->setLectureMode(on);
}

void QOVALabFeatureView::showConversationMode(bool on)
{
    m_conversationModeSwitch->setChecked(on);
    setStateText(m_statusLabel, m_conversationModeSwitch, on);
    if (m_lectureModeSwitch) {
        if (on)
            setStateText(m_lectureStatusLabel, m_lectureModeSwitch, false);
        m_lectureModeSwitch->setEnabled(!on);
    }
}

void QOVALabFeatureView::showLectureMode(bool on)
{
    if (!m_lectureModeSwitch)
        return;
    m_lectureModeSwitch->setChecked(on);
    setStateText(m_lectureStatusLabel, m_lectureModeSwitch, on);
    if (on)
        setStateText(m_statusLabel, m_conversationModeSwitch, false);
    m_conversationModeSwitch->setEnabled(!on);
}

void QOVALabFeatureView::conversationModeStatus(const std::shared_ptr<const ConversationModeModel> &model)
{
    if (model)
        showConversationMode(model->conversation_view_mode);
}

void QOVALabFeatureView::lectureModeStatus(const std::shared_ptr<const LectureModeModel> &model)
{
    if (model)
        showLectureMode(model->enable);
}

void QOVALabFeatureView::setconversationModeFailed(bool enable)
{
    showConversationMode(!enable);
}

void QOVALabFeatureView::setLectureModeFailed(bool enable)
{
    showLectureMode(!enable);
}
