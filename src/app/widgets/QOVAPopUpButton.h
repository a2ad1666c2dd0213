#pragma once
// The application's drop-down list: a flat face (white, or ececec while
// disabled) with a thin edge and a down arrow, the title 5 points further
// left than usual. setFontWithString() gives the items present now the
// application's colour and font. The list ignores the mouse wheel, which goes
// on to the enclosing view. activated(int) reports the user's pick.

#include <QComboBox>
#include <QStringList>

class QOVAPopUpButton : public QComboBox {
    Q_OBJECT
public:
    explicit QOVAPopUpButton(QWidget *parent = nullptr);

    // Restyles the titles of the items present now: colour from the text and
    // alpha, the application font of the size and type, an ellipsis at the
    // end of a title that does not fit. Items added later keep plain titles.
    void setFontWithString(const QString &color, double alpha, double size, int type);

    // Item operations as the pages use them. Adding or inserting a title that
    // is already present first removes the earlier item.
    void addItemWithTitle(const QString &title);
    void addItemsWithTitles(const QStringList &titles);
    void insertItemWithTitle(const QString &title, int index);
    void removeAllItems();
    void selectItemAtIndex(int index);
    void selectItemWithTitle(const QString &title);
    QStringList itemTitles() const;
    int indexOfSelectedItem() const { return currentIndex(); }
    QString titleOfSelectedItem() const { return currentText(); }

    // Where the title of the selected item is drawn, and what is drawn there.
    QRect titleRect() const;
    QString shownTitle() const;
    // The colour of the face.
    QColor faceColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
