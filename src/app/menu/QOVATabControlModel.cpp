#include "QOVATabControlModel.h"

QOVATabControlModelRef QOVATabControlModel::modelWithSelectedImageName(const QString &selectedImageName,
                                                                       const QString &disSelectedImageName,
                                                                       const QString &title)
{
    auto model = std::make_shared<QOVATabControlModel>();
    model->selectedImageName = selectedImageName;
    model->disSelectedImageName = disSelectedImageName;
    model->title = title;
    return model;
}
