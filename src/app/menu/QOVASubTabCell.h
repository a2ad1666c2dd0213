#pragma once
// A row of a side menu list: a title and, while the row is highlighted, a
// blue bar at its left edge. A press followed by a release is a click and is
// told to the row's delegate (its list).

#include "QOVATabSubViewCellDelegate.h"
#include "QOVAWeakDelegate.h"

#include "QOVAMenuCell.h"

#include <QWidget>

class QLabel;

class QOVASubTabCell : public QOVAMenuCell {
    Q_OBJECT
public:
    explicit QOVASubTabCell(const QString &title, QWidget *parent = nullptr);

    void setTag(qint64 tag) { m_tag = tag; }
    qint64 tag() const { return m_tag; }

    void setSubViewCelldelegate(QOVATabSubViewCellDelegate *delegate) { m_delegate.set(delegate); }
    QOVATabSubViewCellDelegate *subViewCelldelegate() const { return m_delegate.get(); }

    QLabel *titleView();
    QWidget *verticalCellLine();

    void selected();
    void disSelected();

    // Whether the row has been given a look yet (before that it has no
    // background of its own).
    bool hasLook() const { return m_hasLook; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void clicked() override;

private:
    void setupCellLayout();
    void placeSubviews();
    void applyLook(const QString &titleColor, bool barShown, const QString &background);

    qint64 m_tag = 0;
    bool m_hasLook = false;
    QLabel *m_titleView = nullptr;
    QWidget *m_verticalCellLine = nullptr;
    QOVAWeakDelegate<QOVATabSubViewCellDelegate> m_delegate;
};
