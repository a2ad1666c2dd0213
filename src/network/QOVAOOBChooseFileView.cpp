#include "QOVAOOBChooseFileView.h"

#include "QOVANetworkStyle.h"
#include "QOVAOpenPanel.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVALabel.h"

#include <QFileInfo>
#include <QtMath>

QOVAOOBChooseFileView::QOVAOOBChooseFileView(const QString &title, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
{
    m_titleLabel = qovanet::rowLabel(this, title, qovanet::systemFontOfSize(13));

    m_chooseButton = qovanet::chooseFileButton(this);
    connect(m_chooseButton, &QOVAButton::clicked, this, [this] { openFileSelector(); });

    m_fileLabel = qovanet::fileNameLabel(this);

    setTitle(title);
    resize(400, kRowHeight);
    layoutChooseView();
}

void QOVAOOBChooseFileView::setTitle(const QString &title)
{
    m_title = title;
    m_titleLabel->setStringValue(title);
}

void QOVAOOBChooseFileView::layoutChooseView()
{
    const int h = height();
    m_titleLabel->setGeometry(0, (h - 15) / 2, 178, 15);
    const int buttonWidth = qCeil(m_chooseButton->textLength() + 5);
    m_chooseButton->setGeometry(178 + 16, 0, buttonWidth, h);
    const int fileX = m_chooseButton->geometry().right() + 1 + 5;
    const int fileWidth = qCeil(m_fileLabel->textSize(10000).width()) + 2;
    m_fileLabel->setGeometry(fileX, (h - 15) / 2, qMin(fileWidth, qMax(0, width() - fileX)), 15);
}

void QOVAOOBChooseFileView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChooseView();
}

void QOVAOOBChooseFileView::openFileSelector()
{
    QPointer<QOVAOOBChooseFileView> self(this);
    QOVAOpenPanel::shared().chooseFile([self](std::optional<QString> path) {
        if (!self)
            return;
        if (!path) {
            qInfo("Cancel");
            return;
        }
        self->m_filePath = *path;
        self->m_fileLabel->setStringValue(QFileInfo(*path).fileName());
        self->layoutChooseView();
    });
}
