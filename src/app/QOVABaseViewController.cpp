#include "QOVABaseViewController.h"

#include "QOVAMaskView.h"
#include "QOVAProgressIndicator.h"

#include "QOVAColor.h"
#include "QOVAGeometry.h"

#include <QPalette>

QOVABaseViewController::QOVABaseViewController(QObject *parent)
    : QObject(parent)
{
}

QOVABaseViewController::~QOVABaseViewController()
{
    delete m_view.data();
}

QWidget *QOVABaseViewController::view()
{
    if (!m_view) {
        m_view = loadView();
        viewDidLoad();
    }
    return m_view;
}

QWidget *QOVABaseViewController::loadView()
{
    return new QWidget;
}

void QOVABaseViewController::viewDidLoad()
{
    setupBasicUI();
}

void QOVABaseViewController::viewWillAppear() {}
void QOVABaseViewController::viewDidAppear() {}
void QOVABaseViewController::didLeaveMainWindow() {}

void QOVABaseViewController::setupBasicUI()
{
    setupBackgroundColor();
    m_view->setFixedSize(820, 600);
    m_view->resize(820, 600);
}

void QOVABaseViewController::setupBackgroundColor()
{
    // Pages are white under their own content.
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Window, Qt::white);
    m_view->setPalette(palette);
    m_view->setAutoFillBackground(true);
}

QOVAMaskView *QOVABaseViewController::maskView()
{
    if (!m_maskView) {
        m_maskView = new QOVAMaskView(view());
        m_maskView->hide();
        qovaSetFrame(m_maskView, 0, 0, 820, 600);
    }
    return m_maskView;
}

QOVAProgressIndicator *QOVABaseViewController::progressIndicator()
{
    if (!m_progressIndicator) {
        m_progressIndicator = new QOVAProgressIndicator(view());
        m_progressIndicator->setSpokeColor(Qt::white);   // it turns over the dimming mask
        m_progressIndicator->hide();
        qovaSetFrame(m_progressIndicator, 388, 278, 44, 44);
        m_progressIndicator->startAnimation();
    }
    return m_progressIndicator;
}

void QOVABaseViewController::showMask(bool show, double alpha)
{
    QOVAMaskView *mask = maskView();
    mask->setAlphaValue(alpha);
    if (show) {
        qovaSetFrame(mask, 0, 0, 820, 600);
        mask->show();
        mask->raise();
    } else {
        mask->hide();
    }
}

void QOVABaseViewController::showMaskView(bool show)
{
    showMask(show, 0.3);
}

void QOVABaseViewController::showInvisibleMaskView(bool show)
{
    showMask(show, 0.0);
}

void QOVABaseViewController::showMaskViewWithProgress(bool show)
{
    showMaskView(show);
    QOVAProgressIndicator *spinner = progressIndicator();
    if (show) {
        spinner->show();
        spinner->raise();
    } else {
        spinner->hide();
    }
}
