#pragma once
// Lab features of the video bar: conversation mode and presenter (lecture)
// mode, of which at most one is on. A mode that is on greys the other row's
// switch and shows that row as off. Each showing asks the device for both
// modes, conversation mode first and presenter mode 10 ms later; each flip
// of a switch is written at once. The presenter row exists only on firmware
// whose version number reads above 1.2.

#include "QOVADisplayBaseView.h"
#include "QOVALabFeatureDelegate.h"

#include "menu/QOVAWeakDelegate.h"

#include <QPointer>
#include <QString>

class ITSwitch;
class QOVALabel;
class QTimer;

class QOVALabFeatureView : public QOVADisplayBaseView, public QOVALabFeatureViewInterface {
    Q_OBJECT
public:
    explicit QOVALabFeatureView(QWidget *parent = nullptr);

    void setDelegate(QOVALabFeatureDelegate *delegate) { m_delegate.set(delegate); }
    QOVALabFeatureDelegate *delegate() const { return m_delegate.get(); }

    void handleDisplayViewEvent() override;
    // A presenter-mode request still waiting for its turn is dropped.
    void cancelDisplayViewEvent() override;

    // The device's answers; they set the switches without writing.
    void conversationModeStatus(const std::shared_ptr<const ConversationModeModel> &model) override;
    void lectureModeStatus(const std::shared_ptr<const LectureModeModel> &model) override;
    // The device refused a change: the row goes back to the other state.
    void setconversationModeFailed(bool enable) override;
    void setLectureModeFailed(bool enable) override;

    // User actions (the switches' actions).
    void toggledConversationModeSwitch();
    void toggledLectureModeSwitch();

    // The leading number of a version text as the device page reads it: in
    // single precision, widened to double (0 when the text does not begin
    // with a number).
    static double leadingVersionNumber(const QString &version);
    // Whether firmware of that version has the presenter row.
    static bool hasLectureMode(const QString &version);

    QOVALabel *conversationModeStatusLabel() const { return m_conversationModeStatus; }
    ITSwitch *conversationModeSwitch() const { return m_conversationModeSwitch; }
    QOVALabel *statusLabel() const { return m_statusLabel; }
    QOVALabel *noteLabel() const { return m_noteLabel; }
    QOVALabel *presenterModeNote() const { return m_presenterModeNote; }
    QOVALabel *lectureModeStatusLabel() const { return m_lectureModeStatus; }
    ITSwitch *lectureModeSwitch() const { return m_lectureModeSwitch; }
    QOVALabel *lectureStatusLabel() const { return m_lectureStatusLabel; }

private:
    void updateLabFeatureUI();
    void updateLectureUI();
    // One row's state: its switch (without its action), its state text, and
    // the other row greyed and shown as off while this mode is on.
    void showConversationMode(bool on);
    void showLectureMode(bool on);
    void setStateText(QOVALabel *label, const ITSwitch *anchor, bool on);

    QOVAWeakDelegate<QOVALabFeatureDelegate> m_delegate;
    QPointer<QOVALabel> m_conversationModeStatus;
    QPointer<ITSwitch> m_conversationModeSwitch;
    QPointer<QOVALabel> m_statusLabel;
    QPointer<QOVALabel> m_noteLabel;
    QPointer<QOVALabel> m_presenterModeNote;
    QPointer<QOVALabel> m_lectureModeStatus;
    QPointer<ITSwitch> m_lectureModeSwitch;
    QPointer<QOVALabel> m_lectureStatusLabel;
    QTimer *m_lectureRequestTimer = nullptr;
};
