#include "QOVATabMenuTable.h"

#include <vector>

namespace QOVATabMenuTable {
namespace {

// One line of a table: the versions it applies to (none: any version the
// earlier lines of the same family and list did not take) and its value.
template <typename Value>
struct Line {
    Family family;
    List list;
    std::vector<const char *> versions;
    Value value;
};

bool matches(const std::vector<const char *> &versions, const QString &version)
{
    if (versions.empty())
        return true;
    for (const char *v : versions) {
        if (version == QLatin1String(v))
            return true;
    }
    return false;
}

using Texts = std::vector<const char *>;
const Texts kAny;

const Line<double> kHeights[] = {
    {Family::Orbrin, List::UserSettings, kAny, 108},
    {Family::Orbrin, List::Diagnostics, kAny, 108},
    {Family::Orbrin, List::Admin, {"1.0"}, 324},
    {Family::Orbrin, List::Admin, {"1.1"}, 360},
    {Family::Orbrin, List::Admin, kAny, 396},
    {Family::Vasko, List::UserSettings, kAny, 36},
    {Family::Vasko, List::Diagnostics, kAny, 144},
    {Family::Vasko, List::Admin, {"V1.2", "V1.3"}, 360},
    {Family::Vasko, List::Admin, kAny, 324},
};

const Line<std::vector<const char *>> kRows[] = {
    {Family::Orbrin, List::UserSettings, kAny,
     {"STRING_CAMERA_CONTROL", "STRING_BLUETOOTH_MODE", "STRING_AUDIO_SETTINGS"}},
    {Family::Orbrin, List::Diagnostics, kAny, {"STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"}},
    {Family::Orbrin, List::Admin, {"1.0"},
     {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS", "STRING_BLUETOOTH",
      "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_SYSTEM_RESTART",
      "STRING_FACTORY_RESET", "STRING_CONFIGURATION"}},
    {Family::Orbrin, List::Admin, {"1.2", "1.3", "1.4"},
     {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS", "STRING_BLUETOOTH",
      "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_CERTIFICATES",
      "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION", "STRING_LAB_FEATURE"}},
    {Family::Orbrin, List::Admin, kAny,
     {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_WIFI_SETTINGS", "STRING_BLUETOOTH",
      "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_CERTIFICATES",
      "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION"}},
    {Family::Vasko, List::UserSettings, kAny, {"STRING_CAMERA_CONTROL"}},
    {Family::Vasko, List::Diagnostics, kAny,
     {"STRING_AUDIO_METERS", "STRING_AUDIO_TEST", "STRING_OSD", "STRING_LOGS"}},
    {Family::Vasko, List::Admin, {"V1.2", "V1.3"},
     {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_NETWORK_SETTINGS",
      "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_CERTIFICATES",
      "STRING_SYSTEM_RESTART", "STRING_FACTORY_RESET", "STRING_CONFIGURATION", "STRING_MISCELLANEOUS"}},
    {Family::Vasko, List::Admin, kAny,
     {"STRING_GENERAL_SETTINGS", "STRING_CAMERA_TRACKING", "STRING_NETWORK_SETTINGS",
      "STRING_PASSWORD_SETTINGS", "STRING_PROVISIONING_SERVER", "STRING_SYSTEM_RESTART",
      "STRING_FACTORY_RESET", "STRING_CONFIGURATION", "STRING_MISCELLANEOUS"}},
};

template <typename Value, size_t N>
const Line<Value> *find(const Line<Value> (&table)[N], Family family, List list, const QString &version)
{
    for (const Line<Value> &line : table) {
        if (line.family == family && line.list == list && matches(line.versions, version))
            return &line;
    }
    return nullptr;
}

} // namespace

QStringList rowKeys(Family family, List list, const QString &version)
{
    QStringList keys;
    if (const auto *line = find(kRows, family, list, version)) {
        for (const char *key : line->value)
            keys.append(QLatin1String(key));
    }
    return keys;
}

double openHeight(Family family, List list, const QString &version)
{
    const auto *line = find(kHeights, family, list, version);
    return line ? line->value : 0;
}

} // namespace QOVATabMenuTable
