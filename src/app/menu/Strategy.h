#pragma once
// The layout of the side menu per device family. Each family has its own
// strategy, which tells the menu which layout to build; the device page
// controller picks the strategy by its class name.

#include <QString>

#include <memory>

class QOVATabControlView;
class Strategy;
using StrategyRef = std::shared_ptr<Strategy>;

class Strategy {
public:
    virtual ~Strategy() = default;

    // Lays out the given menu for the family. The base only logs.
    virtual void validateInput(QOVATabControlView *menu);

    virtual QString className() const { return QStringLiteral("Strategy"); }

    // A new strategy of the named class ("PirokStrategy", "OrbrinStrategy",
    // "VaskoStrategy"), or none for any other name.
    static StrategyRef strategyWithClassName(const QString &className);
};
