#pragma once
// The one main window: a menu bar and a fixed 820 x 600 content area in which
// the current page sits (the page carries the navigation bar on its top 56
// points). Child windows (dialogs, toasts, the conflict warning) are top-level
// widgets parented to this window.

#include <QMainWindow>
#include <QPointer>

class QOVAMainWindow : public QMainWindow {
    Q_OBJECT
public:
    QOVAMainWindow();

    // The content area pages are put into.
    QWidget *contentView() const { return m_contentView; }
    // Makes the page the content; the page shown before is hidden (its
    // controller keeps it).
    void setContentPage(QWidget *page);
    QWidget *contentPage() const { return m_page; }

    // Child windows: top-level widgets whose parent is this window.
    QList<QWidget *> childWindows(bool visibleOnly = true) const;

private:
    QWidget *m_contentView = nullptr;
    QPointer<QWidget> m_page;
};
