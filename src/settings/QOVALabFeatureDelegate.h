#pragma once
// Owner of the lab features page (conversation and lecture mode), and what
// the owner pushes back into the page.

#include <memory>

class ConversationModeModel;
class LectureModeModel;

class QOVALabFeatureDelegate {
public:
    virtual ~QOVALabFeatureDelegate() = default;
    virtual void requestConversationModeInformation() = 0;
    virtual void setconversationMode(bool enable) = 0;
    virtual void requestLectureModeInformation() = 0;
    virtual void setLectureMode(bool enable) = 0;
};

// The lab features page as its owner updates it.
class QOVALabFeatureViewInterface {
public:
    virtual ~QOVALabFeatureViewInterface() = default;
    virtual void conversationModeStatus(const std::shared_ptr<const ConversationModeModel> &model) = 0;
    virtual void lectureModeStatus(const std::shared_ptr<const LectureModeModel> &model) = 0;
    // The device refused to switch the mode to enable.
    virtual void setconversationModeFailed(bool enable) = 0;
    virtual void setLectureModeFailed(bool enable) = 0;
};
