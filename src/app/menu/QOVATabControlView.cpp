#include "QOVATabControlView.h"

#include "QOVAColor.h"
#include "QOVADeviceModel.h"
#include "QOVAFont.h"
#include "QOVAImageView.h"
#include "QOVALabel.h"
#include "QOVAScrollView.h"
#include "QOVATabCell.h"
#include "SystemSettingsSubView.h"

#include "log/log.h"
#include "platform/TimeScale.h"

#include <QEasingCurve>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QVariantAnimation>

#include <cmath>

#include "QOVAMenuPalette.h"

using namespace QOVAMenuPalette;

namespace {

using QOVATabMenuTable::Family;
using QOVATabMenuTable::List;

constexpr qint64 kStatusTag = 0;
constexpr qint64 kUserSettingsTag = 1;
constexpr qint64 kAdminSettingsTag = 2;
constexpr qint64 kDiagnosticsTag = 3;

const char kFirstView[] = "FirstView";
const char kPassword[] = "Password";

QString currentVersion()
{
    return QOVADeviceInfoSingleton::sharedDevice()->currentDeviceVersion();
}

QString localised(const QString &key)
{
    return qtTrId(key.toLatin1().constData());
}

} // namespace

QOVATabControlView::QOVATabControlView(const QString &productID, QWidget *parent)
    : QWidget(parent)
    , m_productID(productID)
{
    resize(kWidth, kHeight);
    fill(this, QStringLiteral("fbfbfb"));

    m_animation = new QVariantAnimation(this);
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const double t = value.toDouble();
        for (auto it = m_targetHeight.cbegin(); it != m_targetHeight.cend(); ++it) {
            const double from = m_startHeight.value(it.key(), it.value());
            m_shownHeight[it.key()] = from + (it.value() - from) * t;
        }
        setupTabCellLayout();
    });
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        for (auto it = m_targetHeight.cbegin(); it != m_targetHeight.cend(); ++it)
            m_shownHeight[it.key()] = it.value();
        setupTabCellLayout();
    });

    // The picture, the name and the line belong to the header, so the header
    // comes first.
    deviceView();
    deviceImageView();
    deviceNameLabel();
    deviceLineView();
    mainScrollView();
    statusTabCell();
    setupTabCellLayout();
}

QOVATabControlView::~QOVATabControlView()
{
    m_animation->stop();
}

// ---- header ---------------------------------------------------------------

QWidget *QOVATabControlView::deviceView()
{
    if (!m_deviceView) {
        m_deviceView = new QWidget(this);
        m_deviceView->setGeometry(0, 0, kWidth, kHeaderHeight);
        fill(m_deviceView, QStringLiteral("ffffff"));
    }
    return m_deviceView;
}

QOVAImageView *QOVATabControlView::deviceImageView()
{
    if (!m_deviceImageView) {
        constexpr int size = 24;
        m_deviceImageView = new QOVAImageView(deviceView());
        m_deviceImageView->setGeometry(8, (kHeaderHeight - size) / 2, size, size);
        m_deviceImageView->setImageName(QStringLiteral("portrait_orbrin"));
    }
    return m_deviceImageView;
}

QOVALabel *QOVATabControlView::deviceNameLabel()
{
    if (!m_deviceNameLabel) {
        m_deviceNameLabel = new QOVALabel(deviceView());
        m_deviceNameLabel->setFont(fontWithSFProDisplay(12, QOVAFontItalic));
        m_deviceNameLabel->setMaximumNumberOfLines(1);
        m_deviceNameLabel->setLineBreakMode(QOVALabel::ByTruncatingTail);
        m_deviceNameLabel->setTextColor(Qt::black);
        const int left = 8 + 24 + 8;
        const int height = std::max(1, int(std::ceil(QFontMetricsF(m_deviceNameLabel->font()).height())));
        m_deviceNameLabel->setGeometry(left, (kHeaderHeight - height) / 2, kWidth - 5 - left, height);
    }
    return m_deviceNameLabel;
}

QWidget *QOVATabControlView::deviceLineView()
{
    if (!m_deviceLineView) {
        m_deviceLineView = new QWidget(deviceView());
        m_deviceLineView->setGeometry(0, kHeaderHeight - 1, kWidth, 1);
        fill(m_deviceLineView, QStringLiteral("cbcbcb"));
    }
    return m_deviceLineView;
}

QOVAScrollView *QOVATabControlView::mainScrollView()
{
    if (!m_mainScrollView) {
        m_mainScrollView = new QOVAScrollView(this);
        m_mainScrollView->setGeometry(0, kHeaderHeight, kWidth, kScrollHeight);
        m_mainScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_mainScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_mainScrollView->setWidgetResizable(false);
        fill(m_mainScrollView->viewport(), QStringLiteral("fbfbfb"));
        m_contentView = new QWidget;
        m_contentView->resize(kWidth, kScrollHeight);
        fill(m_contentView, QStringLiteral("fbfbfb"));
        m_mainScrollView->setWidget(m_contentView);
    }
    return m_mainScrollView;
}

void QOVATabControlView::setDeviceName(const QString &name)
{
    deviceNameLabel()->setStringValue(name);
}

// ---- group headers ----------------------------------------------------------

QOVATabCell *QOVATabControlView::makeTabCell(qint64 tag, const char *titleKey, const QString &normalImage,
                                             const QString &selectedImage)
{
    mainScrollView();
    auto model = QOVATabControlModel::modelWithSelectedImageName(selectedImage, normalImage, qtTrId(titleKey));
    auto *cell = new QOVATabCell(model, m_contentView);
    cell->setTag(tag);
    cell->setDelegate(this);
    cell->resize(kWidth, kHeaderHeight);
    cell->show();
    return cell;
}

QOVATabCell *QOVATabControlView::statusTabCell()
{
    if (!m_statusTabCell) {
        m_statusTabCell = makeTabCell(kStatusTag, "STRING_STATUS", QStringLiteral("status"),
                                      QStringLiteral("status_focus"));
        m_statusTabCell->selected();
        m_selectedCell = m_statusTabCell;
    }
    return m_statusTabCell;
}

QOVATabCell *QOVATabControlView::systemSettingsCell()
{
    if (!m_systemSettingsCell)
        m_systemSettingsCell = makeTabCell(kUserSettingsTag, "STRING_USER_SETTINGS", QStringLiteral("settings"),
                                           QStringLiteral("settings_focus"));
    return m_systemSettingsCell;
}

QOVATabCell *QOVATabControlView::adminSettingsCell()
{
    if (!m_adminSettingsCell)
        m_adminSettingsCell = makeTabCell(kAdminSettingsTag, "STRING_ADMIN_SETTINGS", QStringLiteral("general"),
                                          QStringLiteral("generalfocus"));
    return m_adminSettingsCell;
}

QOVATabCell *QOVATabControlView::diagnosticsCell()
{
    if (!m_diagnosticsCell)
        m_diagnosticsCell = makeTabCell(kDiagnosticsTag, "STRING_DIAGNOSTICS", QStringLiteral("Diagnostics"),
                                        QStringLiteral("Diagnostics_focus"));
    return m_diagnosticsCell;
}

std::vector<QOVATabCell *> QOVATabControlView::tabCells() const
{
    std::vector<QOVATabCell *> cells;
    for (QOVATabCell *cell : {m_statusTabCell, m_systemSettingsCell, m_adminSettingsCell, m_diagnosticsCell}) {
        if (cell)
            cells.push_back(cell);
    }
    return cells;
}

// ---- lists ------------------------------------------------------------------

SystemSettingsSubView *QOVATabControlView::makeList(Family family, List role)
{
    mainScrollView();
    QStringList titles;
    for (const QString &key : QOVATabMenuTable::rowKeys(family, role, currentVersion()))
        titles.append(localised(key));
    auto *list = new SystemSettingsSubView(titles, m_contentView);
    list->setDelegate(this);
    list->resize(kWidth, 0);
    list->show();
    m_targetHeight[list] = 0;
    m_shownHeight[list] = 0;
    switch (role) {
    case List::UserSettings:
        m_currentUserSettingSubview = list;
        break;
    case List::Admin:
        m_currentAdminSubview = list;
        break;
    case List::Diagnostics:
        m_currentDiagnosticsSubview = list;
        break;
    }
    return list;
}

SystemSettingsSubView *QOVATabControlView::systemSubViews()
{
    if (!m_systemSubViews)
        m_systemSubViews = makeList(Family::Orbrin, List::UserSettings);
    return m_systemSubViews;
}

SystemSettingsSubView *QOVATabControlView::adminSubViews()
{
    if (!m_adminSubViews)
        m_adminSubViews = makeList(Family::Orbrin, List::Admin);
    return m_adminSubViews;
}

SystemSettingsSubView *QOVATabControlView::diagnosticsSubViews()
{
    if (!m_diagnosticsSubViews)
        m_diagnosticsSubViews = makeList(Family::Orbrin, List::Diagnostics);
    return m_diagnosticsSubViews;
}

SystemSettingsSubView *QOVATabControlView::vaskoUserSettingSubviews()
{
    if (!m_vaskoUserSettingSubviews)
        m_vaskoUserSettingSubviews = makeList(Family::Vasko, List::UserSettings);
    return m_vaskoUserSettingSubviews;
}

SystemSettingsSubView *QOVATabControlView::vaskoAdminSubviews()
{
    if (!m_vaskoAdminSubviews)
        m_vaskoAdminSubviews = makeList(Family::Vasko, List::Admin);
    return m_vaskoAdminSubviews;
}

SystemSettingsSubView *QOVATabControlView::vaskoDiagnosticsSubviews()
{
    if (!m_vaskoDiagnosticsSubviews)
        m_vaskoDiagnosticsSubviews = makeList(Family::Vasko, List::Diagnostics);
    return m_vaskoDiagnosticsSubviews;
}

// ---- family layouts -----------------------------------------------------------

void QOVATabControlView::setupPirokLayout()
{
    deviceImageView()->setImageName(QStringLiteral("portrait_pirok"));
    QOVA_LOG(INFO, UI, "Layout For Pirok TabView");
}

void QOVATabControlView::setupOrbrniLayout()
{
    const QString version = currentVersion();
    m_userSettingSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Orbrin, List::UserSettings, version));
    m_diagnosticsSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Orbrin, List::Diagnostics, version));
    m_adminSettingSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Orbrin, List::Admin, version));
    buildChain({systemSettingsCell(), systemSubViews(), adminSettingsCell(), adminSubViews(), diagnosticsCell(),
                diagnosticsSubViews()});
    deviceImageView()->setImageName(QStringLiteral("portrait_orbrin"));
}

void QOVATabControlView::setupVaskoLayout()
{
    const QString version = currentVersion();
    m_userSettingSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Vasko, List::UserSettings, version));
    m_diagnosticsSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Vasko, List::Diagnostics, version));
    m_adminSettingSize = QSizeF(kWidth, QOVATabMenuTable::openHeight(Family::Vasko, List::Admin, version));
    buildChain({systemSettingsCell(), vaskoUserSettingSubviews(), adminSettingsCell(), vaskoAdminSubviews(),
                diagnosticsCell(), vaskoDiagnosticsSubviews()});
    deviceImageView()->setImageName(QStringLiteral("portrait_vasko"));
}

void QOVATabControlView::buildChain(const std::vector<QWidget *> &items)
{
    m_chain = items;
    setupTabCellLayout();
}

void QOVATabControlView::setupTabCellLayout()
{
    double top = 0;
    statusTabCell()->setGeometry(0, 0, kWidth, kHeaderHeight);
    top += kHeaderHeight;
    for (QWidget *item : m_chain) {
        double height = kHeaderHeight;
        if (auto *list = qobject_cast<SystemSettingsSubView *>(item))
            height = m_shownHeight.value(list, 0);
        const int y = int(std::lround(top));
        item->setGeometry(0, y, kWidth, int(std::lround(top + height)) - y);
        top += height;
    }
    updateDocument();
}

// The headers and lists as tall as they are or are about to be: a list
// that is opening counts at its open height, one that is closing until it
// has closed.
int QOVATabControlView::contentHeight() const
{
    double bottom = kHeaderHeight;
    for (QWidget *item : m_chain) {
        if (auto *list = qobject_cast<SystemSettingsSubView *>(item))
            bottom += std::max(m_shownHeight.value(list, 0), m_targetHeight.value(list, 0));
        else
            bottom += kHeaderHeight;
    }
    return int(std::ceil(bottom));
}

// The document is the scroll area's height, or the content's where that is
// taller: the scroll bar shows, and the wheel scrolls, only then.
void QOVATabControlView::updateDocument()
{
    if (!m_contentView)
        return;
    const int height = std::max(kScrollHeight, contentHeight());
    if (m_contentView->height() != height)
        m_contentView->resize(kWidth, height);
    m_mainScrollView->setScrollingEnabled(height > kScrollHeight);
}

// ---- opening and closing --------------------------------------------------------

double QOVATabControlView::targetHeight(const SystemSettingsSubView *list) const
{
    return m_targetHeight.value(list, 0);
}

bool QOVATabControlView::isAnimating() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

int QOVATabControlView::documentHeight() const
{
    return m_contentView ? m_contentView->height() : 0;
}

void QOVATabControlView::setListSize(SystemSettingsSubView *list, const QSizeF &size)
{
    if (list)
        m_targetHeight[list] = size.height();
}

void QOVATabControlView::layoutSystemView(SystemSettingsSubView *list, qint64 tag)
{
    const QSizeF size = tag == kUserSettingsTag ? m_userSettingSize
        : tag == kDiagnosticsTag                ? m_diagnosticsSize
                                                : m_adminSettingSize;
    setListSize(list, size);
    if (list)
        list->selectFirstCell();
    updateDocument();
    selectedCellAnimation();
}

void QOVATabControlView::collapseSystemView(SystemSettingsSubView *list)
{
    setListSize(list, QSizeF(kWidth, 0));
    updateDocument();
    selectedCellAnimation();
}

// Every list moves from where it is now to the height it was given, over
// half a second; a list already moving carries on from its current height.
void QOVATabControlView::selectedCellAnimation()
{
    m_animation->stop();
    m_startHeight = m_shownHeight;
    m_animation->setDuration(platform::scaledMs(kAnimationSeconds * 1000));
    m_animation->start();
}

void QOVATabControlView::scrollToTop()
{
    mainScrollView();
    updateDocument();
    m_mainScrollView->verticalScrollBar()->setValue(0);
}

// ---- choices ----------------------------------------------------------------------

void QOVATabControlView::didSelectedCell(QOVATabCell *cell)
{
    if (!cell)
        return;
    QOVATabCell *previous = m_selectedCell;
    const qint64 previousTag = previous ? previous->tag() : kStatusTag;

    scrollToTop();

    switch (cell->tag()) {
    case kStatusTag:
        if (previous != m_statusTabCell) {
            if (previousTag == kUserSettingsTag)
                collapseSystemView(m_currentUserSettingSubview);
            else if (previousTag == kDiagnosticsTag)
                collapseSystemView(m_currentDiagnosticsSubview);
            else if (previousTag == kAdminSettingsTag)
                collapseSystemView(m_currentAdminSubview);
        }
        break;
    case kUserSettingsTag:
        if (previousTag != kUserSettingsTag) {
            layoutSystemView(m_currentUserSettingSubview, kUserSettingsTag);
            collapseSystemView(previousTag == kAdminSettingsTag ? m_currentAdminSubview
                                                                : m_currentDiagnosticsSubview);
        }
        break;
    case kAdminSettingsTag:
        // The administrator list opens only when the controller says so.
        collapseSystemView(previousTag == kDiagnosticsTag ? m_currentDiagnosticsSubview
                                                          : m_currentUserSettingSubview);
        break;
    case kDiagnosticsTag:
        if (previousTag != kDiagnosticsTag) {
            layoutSystemView(m_currentDiagnosticsSubview, kDiagnosticsTag);
            collapseSystemView(previousTag == kUserSettingsTag ? m_currentUserSettingSubview
                                                               : m_currentAdminSubview);
        }
        break;
    default:
        break;
    }

    if (cell == previous)
        return;
    if (previous)
        previous->disSelected();
    m_selectedCell = cell;
    cell->selected();
    reportSelection(cell->tag(), QLatin1String(cell->tag() == kAdminSettingsTag ? kPassword : kFirstView));
}

void QOVATabControlView::expandAdminSettingView()
{
    layoutSystemView(m_currentAdminSubview, kAdminSettingsTag);
    reportSelection(kAdminSettingsTag, QLatin1String(kFirstView));
}

void QOVATabControlView::didSubSelectedIndexString(const QString &title)
{
    reportSelection(m_selectedCell ? m_selectedCell->tag() : kStatusTag, title);
}

void QOVATabControlView::reportSelection(qint64 group, const QString &text)
{
    if (QOVATabControlViewDelegate *delegate = m_tabControlDelegate.get())
        delegate->didSelectedIndexString(group, text);
}
