#pragma once
// STAND-IN until the set-up wizard lands: holds the device to set up and
// shows its picture and name. The real wizard replaces this file and its
// source as a whole.

#include "QOVABaseViewController.h"
#include "QOVADeviceListItem.h"

class QOVAVaskoOOBViewController : public QOVABaseViewController {
    Q_OBJECT
public:
    explicit QOVAVaskoOOBViewController(QObject *parent = nullptr);

    void setModel(const QOVADeviceListItemRef &model) { m_model = model; }
    QOVADeviceListItemRef model() const { return m_model; }

protected:
    void viewDidLoad() override;

private:
    QOVADeviceListItemRef m_model;
};
