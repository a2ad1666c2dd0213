#pragma once
// Told when a group header of the side menu is clicked.

class QOVATabCell;

class QOVATabCellDelegate {
public:
    virtual ~QOVATabCellDelegate() = default;
    virtual void didSelectedCell(QOVATabCell *cell) = 0;
};
