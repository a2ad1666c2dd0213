#include "SystemSettingsSubView.h"

#include "QOVAGeometry.h"
#include "QOVASubTabCell.h"

#include <QLabel>

SystemSettingsSubView::SystemSettingsSubView(const QStringList &titles, QWidget *parent)
    : QWidget(parent)
{
    setupSubViewsLayout(titles);
}

void SystemSettingsSubView::setupSubViewsLayout(const QStringList &titles)
{
    for (int i = 0; i < titles.size(); ++i) {
        auto *cell = new QOVASubTabCell(titles.at(i), this);
        cell->setSubViewCelldelegate(this);
        if (i == 0) {
            cell->selected();
            m_selectedSubTabCell = cell;
            m_firstCell = cell;
        }
        cell->setTag(i);
        m_cells.append(cell);
    }
    placeRows();
}

// Rows are framed from the list's bottom edge: row i of n at
// y = (n - 1 - i) * 36, so the last row sits on the bottom.
void SystemSettingsSubView::placeRows()
{
    const int n = int(m_cells.size());
    for (int i = 0; i < n; ++i)
        qovaSetFrame(m_cells.at(i), 0, (n - 1 - i) * kRowHeight, kRowWidth, kRowHeight);
}

void SystemSettingsSubView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeRows();
}

QStringList SystemSettingsSubView::titles() const
{
    QStringList out;
    for (QOVASubTabCell *cell : m_cells)
        out.append(cell->titleView()->text());
    return out;
}

void SystemSettingsSubView::selectFirstCell()
{
    if (m_selectedSubTabCell)
        m_selectedSubTabCell->disSelected();
    m_selectedSubTabCell = m_firstCell;
    if (m_selectedSubTabCell)
        m_selectedSubTabCell->selected();
}

void SystemSettingsSubView::didSelectedSubViewCell(QOVASubTabCell *cell)
{
    if (!cell || cell == m_selectedSubTabCell)
        return;
    if (m_selectedSubTabCell)
        m_selectedSubTabCell->disSelected();
    m_selectedSubTabCell = cell;
    cell->selected();
    if (QOVASystemSettingViewDelegate *delegate = m_delegate.get())
        delegate->didSubSelectedIndexString(cell->titleView()->text());
}
