#pragma once
// A group header of the side menu: icon and title on a 210 x 44 cell. A
// press followed by a release (wherever the release happens) is a click and
// is told to the delegate; the menu decides about selection and gives the
// cell its selected or deselected look.

#include "QOVATabCellDelegate.h"
#include "QOVATabControlModel.h"
#include "QOVAWeakDelegate.h"

#include <QColor>
#include "QOVAMenuCell.h"

#include <QWidget>

class QLabel;
class QOVAImageView;

class QOVATabCell : public QOVAMenuCell {
    Q_OBJECT
public:
    explicit QOVATabCell(const QOVATabControlModelRef &model, QWidget *parent = nullptr);

    QOVATabControlModelRef tabControlModel() const { return m_tabControlModel; }

    void setTag(qint64 tag) { m_tag = tag; }
    qint64 tag() const { return m_tag; }

    void setDelegate(QOVATabCellDelegate *delegate) { m_delegate.set(delegate); }
    QOVATabCellDelegate *delegate() const { return m_delegate.get(); }

    void setEffectBackgroundColor(const QColor &color);
    QColor effectBackgroundColor() const { return m_effectBackgroundColor; }

    QOVAImageView *imageView();
    QLabel *titleView();

    void selected();
    void disSelected();


protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void clicked() override;

private:
    void setupUI();
    void placeSubviews();
    void applyLook(const QString &titleColor, const QString &background, const QString &imageName);

    QOVATabControlModelRef m_tabControlModel;
    qint64 m_tag = 0;
    QOVAImageView *m_imageView = nullptr;
    QLabel *m_titleView = nullptr;
    QColor m_effectBackgroundColor;
    QOVAWeakDelegate<QOVATabCellDelegate> m_delegate;
};
