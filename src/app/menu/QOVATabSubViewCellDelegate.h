#pragma once
// Told when a row of a side menu list is clicked.

class QOVASubTabCell;

class QOVATabSubViewCellDelegate {
public:
    virtual ~QOVATabSubViewCellDelegate() = default;
    virtual void didSelectedSubViewCell(QOVASubTabCell *cell) = 0;
};
