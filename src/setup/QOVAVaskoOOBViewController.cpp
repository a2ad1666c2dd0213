#include "QOVAVaskoOOBViewController.h"

#include "QOVAOOBStandInPage.h"

QOVAVaskoOOBViewController::QOVAVaskoOOBViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVAVaskoOOBViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    qovaBuildOOBStandInPage(view(), m_model.get());
}
