#include "QOVAMainWindow.h"

QOVAMainWindow::QOVAMainWindow()
{
    setObjectName(QStringLiteral("QOVAMainWindow"));
    m_contentView = new QWidget(this);
    m_contentView->setObjectName(QStringLiteral("contentView"));
    m_contentView->setFixedSize(820, 600);
    setCentralWidget(m_contentView);
    setWindowTitle(QStringLiteral("Orvalinde"));
}

void QOVAMainWindow::setContentPage(QWidget *page)
{
    if (m_page == page)
        return;
    if (m_page)
        m_page->hide();
    m_page = page;
    if (!page)
        return;
    page->setParent(m_contentView);
    page->setGeometry(0, 0, 820, 600);
    page->show();
    page->raise();
}

QList<QWidget *> QOVAMainWindow::childWindows(bool visibleOnly) const
{
    QList<QWidget *> out;
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && (!visibleOnly || child->isVisible()))
            out.append(child);
    }
    return out;
}
