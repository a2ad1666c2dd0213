#pragma once
// STAND-IN until the firmware page lands: keeps one row per connected device
// (by serial number) and lists their names and versions. It offers what the
// application shell uses of the real page; the real one replaces this file
// and its source as a whole.

#include "QOVABaseViewController.h"

#include <QList>
#include <QVariantMap>

class QOVAFirmwareViewController : public QOVABaseViewController {
    Q_OBJECT
public:
    struct Row {
        QString serialNumber;
        QString name;
        QString version;
    };

    explicit QOVAFirmwareViewController(QObject *parent = nullptr);

    void initData();
    void addObjectWithUserInfo(const QVariantMap &userInfo);
    void removeObjectWithUserInfo(const QVariantMap &userInfo);
    void updateFirmwareViewController(const QString &name, const QString &serialNumber);

    QList<Row> rows() const { return m_rows; }
    int initDataCount() const { return m_initDataCount; }

protected:
    void viewDidLoad() override;

private:
    void redraw();

    QList<Row> m_rows;
    int m_initDataCount = 0;
    QWidget *m_list = nullptr;
};
