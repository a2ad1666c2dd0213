#pragma once
// One list of the side menu: a row per title, the first title on top. The
// rows stand on the list's bottom edge, so when the menu gives the list more
// height than its rows need the spare space lies above the first row, and a
// list that is opening shows its last rows first. Exactly one row is
// highlighted (the first one from creation on); moving the highlight is told
// to the delegate with the title the row shows.

#include "QOVASubTabCell.h"
#include "QOVASystemSettingViewDelegate.h"
#include "QOVATabSubViewCellDelegate.h"
#include "QOVAWeakDelegate.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class SystemSettingsSubView : public QWidget, public QOVATabSubViewCellDelegate {
    Q_OBJECT
public:
    static constexpr int kRowWidth = 210;
    static constexpr int kRowHeight = 36;

    explicit SystemSettingsSubView(const QStringList &titles, QWidget *parent = nullptr);

    void setDelegate(QOVASystemSettingViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVASystemSettingViewDelegate *delegate() const { return m_delegate.get(); }

    QOVASubTabCell *selectedSubTabCell() const { return m_selectedSubTabCell; }
    QOVASubTabCell *firstCell() const { return m_firstCell; }
    // The rows, top to bottom.
    QList<QOVASubTabCell *> cells() const { return m_cells; }
    QStringList titles() const;

    // Highlights the first row again without telling anyone.
    void selectFirstCell();

    // QOVATabSubViewCellDelegate
    void didSelectedSubViewCell(QOVASubTabCell *cell) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void setupSubViewsLayout(const QStringList &titles);
    void placeRows();

    QList<QOVASubTabCell *> m_cells;
    QPointer<QOVASubTabCell> m_selectedSubTabCell;
    QPointer<QOVASubTabCell> m_firstCell;
    QOVAWeakDelegate<QOVASystemSettingViewDelegate> m_delegate;
};
