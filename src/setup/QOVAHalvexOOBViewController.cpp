#include "QOVAHalvexOOBViewController.h"

#include "QOVAOOBStandInPage.h"

QOVAHalvexOOBViewController::QOVAHalvexOOBViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

void QOVAHalvexOOBViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    qovaBuildOOBStandInPage(view(), m_model.get());
}
