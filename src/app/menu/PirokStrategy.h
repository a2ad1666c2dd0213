#pragma once
// Side menu layout of the small camera: status only.

#include "Strategy.h"

class PirokStrategy : public Strategy {
public:
    void validateInput(QOVATabControlView *menu) override;
    QString className() const override { return QStringLiteral("PirokStrategy"); }
};
