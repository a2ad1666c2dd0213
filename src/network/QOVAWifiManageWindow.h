#pragma once
// The networks the video bar has saved, one row each, with a delete button
// that shows while the pointer is over the row. Forgetting a row removes it
// at once and tells the delegate the network's name; the window stays open.

#include "QOVAWifiBaseWindow.h"

#include "menu/QOVAWeakDelegate.h"

#include <QJsonObject>
#include <QStringList>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QOVAScrollView;
class QOVAWifiManageWindow;
class QPushButton;
class QVBoxLayout;
class SavedSSIDInfoModel;

// One saved network as a row shows it.
struct QOVAWifiModel {
    QString wifiName;
    bool isSecurity = true;
    bool isFolded = true;
    bool isAutoConn = true;
};

class QOVAWifiCell;

class QOVAWifiCellDelegate {
public:
    virtual ~QOVAWifiCellDelegate() = default;
    virtual void forgetWifi(QOVAWifiCell *cell) = 0;
};

class QOVAWifiCell : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 24;

    explicit QOVAWifiCell(QWidget *parent = nullptr);
    void setDelegate(QOVAWifiCellDelegate *delegate) { m_delegate = delegate; }
    void updateWithModel(const QOVAWifiModel &model);
    void clickDeleteBtn();

    QOVALabel *wifiNameLabel() const { return m_wifiNameLabel; }
    QOVAImageView *securityImageView() const { return m_securityImageView; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    bool mouseInside() const { return m_mouseInside; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QOVAWifiCellDelegate *m_delegate = nullptr;
    QOVAImageView *m_wifiImageView = nullptr;
    QOVAImageView *m_securityImageView = nullptr;
    QOVALabel *m_wifiNameLabel = nullptr;
    QPushButton *m_deleteButton = nullptr;
    bool m_mouseInside = false;
    bool m_isSelected = false;
};

class QOVAWifiManageWindowDelegate {
public:
    virtual ~QOVAWifiManageWindowDelegate() = default;
    virtual void wifiManageWindow(QOVAWifiManageWindow *window) = 0;
    virtual void wifiManageDeleteWindow(QOVAWifiManageWindow *window, const QJsonObject &params) = 0;
};

class QOVAWifiManageWindow : public QOVAWifiBaseWindow, public QOVAWifiCellDelegate {
    Q_OBJECT
public:
    QOVAWifiManageWindow(double width, double height);

    void setWifiManageDelegate(QOVAWifiManageWindowDelegate *delegate) { m_delegate.set(delegate); }

    void requestWiFiConnectedList();
    void connectedWiFiInformation(const SavedSSIDInfoModel &model);
    void setupData(const QStringList &names);
    void closeWindow();
    void forgetWifi(QOVAWifiCell *cell) override;

    const QList<QOVAWifiModel> &wifiModelList() const { return m_wifiModelList; }
    QList<QOVAWifiCell *> cells() const { return m_cells; }
    QOVAScrollView *tableContainer() const { return m_tableContainer; }
    QOVAButton *okButton() const { return m_okButton; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void reloadData();
    void placeViews();

    QOVAWeakDelegate<QOVAWifiManageWindowDelegate> m_delegate;
    QList<QOVAWifiModel> m_wifiModelList;
    QList<QOVAWifiCell *> m_cells;
    QOVAScrollView *m_tableContainer = nullptr;
    QWidget *m_wifiListView = nullptr;
    QOVAButton *m_okButton = nullptr;
};
