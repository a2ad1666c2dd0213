#include "QOVAHalvexCountryView.h"

#include "QOVAHalvexPageIndicatorView.h"

#include "QOVAButton.h"
#include "QOVAColor.h"
#include "QOVAFont.h"
#include "QOVAGeometry.h"

#include "log/log.h"

#include <QAbstractListModel>
#include <QFile>
#include <QHeaderView>
#include <QTableView>

static void initSetupResources()
{
    Q_INIT_RESOURCE(setup);
}

namespace {

class CountryListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(QOVAHalvexCountryView::countryList().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const QStringList &list = QOVAHalvexCountryView::countryList();
        if (!index.isValid() || index.row() < 0 || index.row() >= list.size())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return list.at(index.row());
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::FontRole:
            return fontWithSFProDisplay(12, QOVAFontRegular);
        case Qt::ForegroundRole:
            return colorWithString(QStringLiteral("000000"), 0.85);
        default:
            return {};
        }
    }
};

// One row at a time, and a chosen row stays chosen: a click on it or a
// modifier click never leaves the list without a selection.
class CountryTableView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index, const QEvent *event) const override
    {
        if (!index.isValid())
            return QItemSelectionModel::NoUpdate;
        const QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
        if (flags == QItemSelectionModel::NoUpdate)
            return flags;
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    }
};

} // namespace

const QStringList &QOVAHalvexCountryView::countryList()
{
    static const QStringList list = [] {
        initSetupResources();
        QFile file(QStringLiteral(":/setup/countries.txt"));
        QStringList names;
        if (file.open(QIODevice::ReadOnly))
            names = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return names;
    }();
    return list;
}

QOVAHalvexCountryView::QOVAHalvexCountryView(QWidget *parent)
    : QOVAHalvexOOBBaseView(parent)
{
    configOOBCountryView();
    setUpCountryView();
}

void QOVAHalvexCountryView::configOOBCountryView()
{
    setSubTitleText(qtTrId("OOB_SELECT_COUNTRY"));
    pageIndicatorView()->setHidden(false);
    pageIndicatorView()->setCurrentStep(0);
}

void QOVAHalvexCountryView::setUpCountryView()
{
    m_countryTableView = new CountryTableView(this);
    m_countryTableView->setModel(new CountryListModel(m_countryTableView));
    m_countryTableView->horizontalHeader()->hide();
    m_countryTableView->verticalHeader()->hide();
    m_countryTableView->horizontalHeader()->setStretchLastSection(true);
    m_countryTableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_countryTableView->verticalHeader()->setMinimumSectionSize(15);
    m_countryTableView->verticalHeader()->setDefaultSectionSize(15);
    m_countryTableView->setShowGrid(false);
    m_countryTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_countryTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_countryTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_countryTableView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_countryTableView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_countryTableView->setFrameShape(QFrame::NoFrame);
    m_countryTableView->setStyleSheet(QStringLiteral("QTableView { border: 1px solid #bdbdbd; }"));
    m_countryTableView->setAttribute(Qt::WA_MacShowFocusRect, false);
    connect(m_countryTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableViewSelectionDidChange(); });
    qovaSetFrame(m_countryTableView, (width() - 280) / 2.0, 193, 280, 224);

    m_nextButton = new QOVAButton(this);
    m_nextButton->setTextString(qtTrId("BUTTON_ITEM_NEXT"));
    m_nextButton->setTextFont(fontWithSFProDisplay(12, QOVAFontRegular));
    m_nextButton->setQovaButtonType(1);
    m_nextButton->setTextColor(colorWithString(QStringLiteral("ffffff"), 1.0));
    m_nextButton->setBackgroundColor(colorWithString(QStringLiteral("0277bd"), 1.0));
    m_nextButton->setDisabled(true);
    m_nextButton->setGeometry((width() - 280) / 2, 387, 280, 24);
    connect(m_nextButton, &QOVAButton::clicked, this, [this] { clickNextButton(); });
}

void QOVAHalvexCountryView::tableViewSelectionDidChange()
{
    const QModelIndexList rows = m_countryTableView->selectionModel()->selectedRows();
    const QStringList &list = countryList();
    // A change that leaves no row chosen keeps the earlier choice.
    if (rows.isEmpty() || rows.first().row() < 0 || rows.first().row() >= list.size())
        return;
    m_selectedCountry = list.at(rows.first().row());
    m_nextButton->setDisabled(false);
    QOVA_LOG(INFO, UI, "OOBCountry Selected String is %s", qUtf8Printable(m_selectedCountry));
}

void QOVAHalvexCountryView::clickNextButton()
{
    if (m_selectedCountry.isNull())
        m_selectedCountry = QStringLiteral("");
    if (auto *d = oobCountryViewDelegate())
        d->confirmSelectedCountry(m_selectedCountry);
}
