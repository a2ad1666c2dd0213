#pragma once
// Lecture mode (lecture_mode).

#include "QOVAModelField.h"

class LectureModeModel final : public QOVAJSONModel {
    QOVA_JSON_MODEL(LectureModeModel)

    bool enable = false;
};

inline const QOVAModelFields &LectureModeModel::fields()
{
    static const QOVAModelFields table = {
        QOVAField::boolean("enable", &LectureModeModel::enable),
    };
    return table;
}
