#pragma once
// Side menu layout of the network camera: all four groups.

#include "Strategy.h"

class VaskoStrategy : public Strategy {
public:
    void validateInput(QOVATabControlView *menu) override;
    QString className() const override { return QStringLiteral("VaskoStrategy"); }
};
