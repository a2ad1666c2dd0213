#include "Strategy.h"

#include "OrbrinStrategy.h"
#include "PirokStrategy.h"
#include "VaskoStrategy.h"

#include "log/log.h"

#include <functional>
#include <map>

void Strategy::validateInput(QOVATabControlView *)
{
    QOVA_LOG(INFO, OTHERS, "Base Strtegy!");
}

StrategyRef Strategy::strategyWithClassName(const QString &className)
{
    static const std::map<QString, std::function<StrategyRef()>> classes = {
        {QStringLiteral("PirokStrategy"), [] { return std::make_shared<PirokStrategy>(); }},
        {QStringLiteral("OrbrinStrategy"), [] { return std::make_shared<OrbrinStrategy>(); }},
        {QStringLiteral("VaskoStrategy"), [] { return std::make_shared<VaskoStrategy>(); }},
    };
    const auto it = classes.find(className);
    return it == classes.end() ? nullptr : it->second();
}
