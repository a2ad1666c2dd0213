#include "QOVAHalvexPageIndicatorView.h"

#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"

#include <QtMath>

#include <algorithm>

QOVAHalvexPageIndicatorView::QOVAHalvexPageIndicatorView(QWidget *parent)
    : QWidget(parent)
{
    const char *keys[5] = {QT_TRID_NOOP("OOB_COUNTRY"), QT_TRID_NOOP("OOB_DEVICE_NAME"), QT_TRID_NOOP("OOB_WIFI"),
                           QT_TRID_NOOP("OOB_PROVISIONING"), QT_TRID_NOOP("OOB_COMPLETE")};
    for (int i = 0; i < 5; ++i) {
        m_labels[i] = new QOVALabel(this);
        m_labels[i]->setFont(fontWithSFProDisplay(8, 5));
        m_labels[i]->setTextColor(Qt::black);
        m_labels[i]->setStringValue(qtTrId(keys[i]));
        m_labels[i]->setToolTip(QString());
        m_labels[i]->setLineBreakMode(QOVALabel::ByClipping);
        m_labels[i]->setMaximumNumberOfLines(1);
    }
    m_stepImageView = new QOVAImageView(this);
    m_stepImageView->setImageScaling(QOVAImageView::ScaleAxesIndependently);
    setupPageIndicatorView();
    m_imageList = {QStringLiteral("OOBIndicatorImage1"), QStringLiteral("OOBIndicatorImage2"),
                   QStringLiteral("OOBIndicatorImage3"), QStringLiteral("OOBIndicatorImage4"),
                   QStringLiteral("OOBIndicatorImage5")};
}

void QOVAHalvexPageIndicatorView::setupPageIndicatorView()
{
    // The step image is 280 x 16 under labels 9 high; the first label is
    // centred 8 right of the image's left edge and each next one 66 further,
    // every label at least 2 inside the view.
    const double labelHeight = 9;
    double widths[5];
    for (int i = 0; i < 5; ++i)
        widths[i] = std::ceil(m_labels[i]->sizeHint().width()) + 2;
    double imageLeft = 2;
    for (int i = 0; i < 5; ++i)
        imageLeft = std::max(imageLeft, 2 + widths[i] / 2 - (8 + 66 * i));
    double right = imageLeft + 280 + 2;
    for (int i = 0; i < 5; ++i)
        right = std::max(right, imageLeft + 8 + 66 * i + widths[i] / 2 + 2);
    const int width = qCeil(right);
    const int height = int(labelHeight + 8 + 16);
    resize(width, height);
    setMinimumSize(width, height);
    for (int i = 0; i < 5; ++i) {
        const double centre = imageLeft + 8 + 66 * i;
        m_labels[i]->setGeometry(QRectF(centre - widths[i] / 2, 0, widths[i], labelHeight).toRect());
    }
    m_stepImageView->setGeometry(QRectF(imageLeft, labelHeight + 8, 280, 16).toRect());
}

void QOVAHalvexPageIndicatorView::setCurrentStep(int step)
{
    if (step < 0 || step >= m_imageList.size())
        return;
    m_currentStep = step;
    m_stepImageView->setImageName(m_imageList.at(step));
}
