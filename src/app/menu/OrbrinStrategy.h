#pragma once
// Side menu layout of the video bar: all four groups.

#include "Strategy.h"

class OrbrinStrategy : public Strategy {
public:
    void validateInput(QOVATabControlView *menu) override;
    QString className() const override { return QStringLiteral("OrbrinStrategy"); }
};
