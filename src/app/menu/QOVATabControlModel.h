#pragma once
// What a group header of the side menu shows: its icon in the selected and
// the deselected look, and its localised title.

#include <QString>

#include <memory>

class QOVATabControlModel;
using QOVATabControlModelRef = std::shared_ptr<QOVATabControlModel>;

class QOVATabControlModel {
public:
    static QOVATabControlModelRef modelWithSelectedImageName(const QString &selectedImageName,
                                                             const QString &disSelectedImageName,
                                                             const QString &title);

    QString selectedImageName;
    QString disSelectedImageName;
    QString title;
};
