#pragma once
// The set-up page on which the country or region of the device is picked
// from a fixed list of 256 names (kept in the application's resources, in
// their order, every character as the device expects it). Next is enabled
// by the first pick and hands the chosen name on. A pick can be changed but
// not taken back.

#include "QOVAHalvexCountryViewDelegate.h"
#include "QOVAHalvexOOBBaseView.h"

#include <QStringList>

class QTableView;
class QItemSelection;

class QOVAHalvexCountryView : public QOVAHalvexOOBBaseView {
    Q_OBJECT
public:
    explicit QOVAHalvexCountryView(QWidget *parent = nullptr);

    void setOobCountryViewDelegate(QOVAHalvexCountryViewDelegate *delegate) { m_delegate.set(delegate); }
    QOVAHalvexCountryViewDelegate *oobCountryViewDelegate() const { return m_delegate.get(); }

    // The 256 names, row by row.
    static const QStringList &countryList();

    QTableView *countryTableView() const { return m_countryTableView; }
    QOVAButton *nextButton() const { return m_nextButton; }
    // Empty until the first pick (null before it).
    QString selectedCountry() const { return m_selectedCountry; }

    void clickNextButton();

private:
    void configOOBCountryView();
    void setUpCountryView();
    void tableViewSelectionDidChange();

    QOVAWeakDelegate<QOVAHalvexCountryViewDelegate> m_delegate;
    QTableView *m_countryTableView = nullptr;
    QOVAButton *m_nextButton = nullptr;
    QString m_selectedCountry;
};
