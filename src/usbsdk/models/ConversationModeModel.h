#pragma once
// Conversation view (conversation_view).

#include "QOVAModelField.h"

class ConversationModeModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(ConversationModeModel)

    bool conversation_view_mode = false;
};

inline const QOVAModelFields &ConversationModeModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("conversation_view_mode", &ConversationModeModel::conversation_view_mode),
    };
    return table;
}
