#pragma once
// The side menu of a device page: a header with the family's portrait and
// the device's name, and below it up to four group headers (Status, User
// Settings, Admin Settings, Diagnostics). Every group but Status owns a list
// of rows that opens under its header when the group is chosen and closes
// when another group is chosen, animated over half a second with the headers
// below following. The family's strategy decides which groups and lists the
// menu has; the firmware version decides the administrator list.
//
// The menu shows no pages. It tells its delegate (the device page
// controller) every choice; the administrator group is not opened by a
// click but only when the controller sends expandAdminSettingView (after it
// has checked the device's password).
//
// Made by the controller in this order: the menu with the product id, the
// strategy, setStategy, the strategy's validateInput with the menu,
// setDeviceName, setTabControlDelegate.

#include "QOVASystemSettingViewDelegate.h"
#include "QOVATabCell.h"
#include "QOVATabCellDelegate.h"
#include "QOVATabControlViewDelegate.h"
#include "QOVATabMenuTable.h"
#include "QOVAWeakDelegate.h"
#include "Strategy.h"
#include "SystemSettingsSubView.h"

#include <QHash>
#include <QPointer>
#include <QSizeF>
#include <QWidget>

#include <vector>

class QOVAImageView;
class QOVALabel;
class QOVAScrollView;
class QVariantAnimation;

class QOVATabControlView : public QWidget, public QOVATabCellDelegate, public QOVASystemSettingViewDelegate {
    Q_OBJECT
public:
    static constexpr int kWidth = 210;
    static constexpr int kHeight = 544;
    static constexpr int kHeaderHeight = 44;
    static constexpr int kScrollHeight = 500;
    static constexpr double kAnimationSeconds = 0.5;

    // initWithDeviceProductID: the header, the scroll area and the status
    // group; the family's groups come from its strategy.
    explicit QOVATabControlView(const QString &productID, QWidget *parent = nullptr);
    ~QOVATabControlView() override;

    QString productID() const { return m_productID; }

    // Family layouts, sent by the strategies.
    void setupPirokLayout();
    void setupVaskoLayout();
    void setupOrbrniLayout();

    void setDeviceName(const QString &name);

    void setTabControlDelegate(QOVATabControlViewDelegate *delegate) { m_tabControlDelegate.set(delegate); }
    QOVATabControlViewDelegate *tabControlDelegate() const { return m_tabControlDelegate.get(); }

    void setStategy(const StrategyRef &strategy) { m_stategy = strategy; }
    StrategyRef stategy() const { return m_stategy; }

    // Opens the administrator list (first row highlighted) whatever group is
    // selected, and reports group 2 with "FirstView".
    void expandAdminSettingView();

    // QOVATabCellDelegate: a group header was clicked.
    void didSelectedCell(QOVATabCell *cell) override;
    // QOVASystemSettingViewDelegate: a row of an open list was picked.
    void didSubSelectedIndexString(const QString &title) override;

    QSizeF userSettingSize() const { return m_userSettingSize; }
    QSizeF diagnosticsSize() const { return m_diagnosticsSize; }
    QSizeF adminSettingSize() const { return m_adminSettingSize; }

    QOVATabCell *selectedCell() const { return m_selectedCell; }
    SystemSettingsSubView *currentUserSettingSubview() const { return m_currentUserSettingSubview; }
    SystemSettingsSubView *currentAdminSubview() const { return m_currentAdminSubview; }
    SystemSettingsSubView *currentDiagnosticsSubview() const { return m_currentDiagnosticsSubview; }

    // The group headers this menu has, top to bottom.
    std::vector<QOVATabCell *> tabCells() const;

    // Views, each made on first use.
    QWidget *deviceView();
    QOVAImageView *deviceImageView();
    QOVALabel *deviceNameLabel();
    QWidget *deviceLineView();
    QOVAScrollView *mainScrollView();
    QOVATabCell *statusTabCell();
    QOVATabCell *systemSettingsCell();
    QOVATabCell *adminSettingsCell();
    QOVATabCell *diagnosticsCell();
    SystemSettingsSubView *systemSubViews();
    SystemSettingsSubView *adminSubViews();
    SystemSettingsSubView *diagnosticsSubViews();
    SystemSettingsSubView *vaskoUserSettingSubviews();
    SystemSettingsSubView *vaskoAdminSubviews();
    SystemSettingsSubView *vaskoDiagnosticsSubviews();

    // Height of the scrolled content: the headers and lists, at least the
    // scroll area's 500.
    int documentHeight() const;
    // The height a list is opening or closing to (0: closed).
    double targetHeight(const SystemSettingsSubView *list) const;
    // Whether lists are still moving to their heights.
    bool isAnimating() const;

protected:
    void layoutSystemView(SystemSettingsSubView *list, qint64 tag);
    void collapseSystemView(SystemSettingsSubView *list);
    void selectedCellAnimation();
    // Every header click starts at the top of the menu.
    void scrollToTop();
    int contentHeight() const;
    void updateDocument();
    // Places the chain of headers and lists, each under the one above, at
    // the heights they show at this moment.
    void setupTabCellLayout();

private:
    QOVATabCell *makeTabCell(qint64 tag, const char *titleKey, const QString &normalImage,
                             const QString &selectedImage);
    SystemSettingsSubView *makeList(QOVATabMenuTable::Family family, QOVATabMenuTable::List role);
    void setListSize(SystemSettingsSubView *list, const QSizeF &size);
    void buildChain(const std::vector<QWidget *> &items);
    void reportSelection(qint64 group, const QString &text);

    QString m_productID;
    QSizeF m_userSettingSize;
    QSizeF m_diagnosticsSize;
    QSizeF m_adminSettingSize;

    QPointer<QOVATabCell> m_selectedCell;
    QPointer<SystemSettingsSubView> m_currentUserSettingSubview;
    QPointer<SystemSettingsSubView> m_currentAdminSubview;
    QPointer<SystemSettingsSubView> m_currentDiagnosticsSubview;
    QOVAWeakDelegate<QOVATabControlViewDelegate> m_tabControlDelegate;
    StrategyRef m_stategy;

    QWidget *m_deviceView = nullptr;
    QOVAImageView *m_deviceImageView = nullptr;
    QOVALabel *m_deviceNameLabel = nullptr;
    QWidget *m_deviceLineView = nullptr;
    QOVAScrollView *m_mainScrollView = nullptr;
    QWidget *m_contentView = nullptr;
    QOVATabCell *m_statusTabCell = nullptr;
    QOVATabCell *m_systemSettingsCell = nullptr;
    QOVATabCell *m_adminSettingsCell = nullptr;
    QOVATabCell *m_diagnosticsCell = nullptr;
    SystemSettingsSubView *m_systemSubViews = nullptr;
    SystemSettingsSubView *m_adminSubViews = nullptr;
    SystemSettingsSubView *m_diagnosticsSubViews = nullptr;
    SystemSettingsSubView *m_vaskoUserSettingSubviews = nullptr;
    SystemSettingsSubView *m_vaskoAdminSubviews = nullptr;
    SystemSettingsSubView *m_vaskoDiagnosticsSubviews = nullptr;

    // The chain under the status header, top to bottom.
    std::vector<QWidget *> m_chain;
    // Each list's height: what it is given (its constraint), what it shows
    // now, and what it showed when the running animation began.
    QHash<const SystemSettingsSubView *, double> m_targetHeight;
    QHash<const SystemSettingsSubView *, double> m_shownHeight;
    QHash<const SystemSettingsSubView *, double> m_startHeight;
    QVariantAnimation *m_animation = nullptr;
};
