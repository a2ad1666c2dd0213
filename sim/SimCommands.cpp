#include "sim/SimCommands.h"

#include "sim/SimBus.h"
#include "sim/SimFamily.h"
#include "sim/catalogue/SimCatalogueRequestHandler.h"
#include "sim/dfu/SimDfuHandler.h"

#include <QJsonDocument>

#include <climits>

namespace sim {

namespace {

SimCommandResult fail(const QString &why)
{
    return {false, {why}};
}

bool toInt(const QString &text, int *value, int min, int max)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 0);
    if (!ok || v < min || v > max)
        return false;
    *value = int(v);
    return true;
}

QString modeText(const SimDevice &device)
{
    if (!device.isPresent())
        return QStringLiteral("away");
    return device.mode() == Mode::Dfu ? QStringLiteral("dfu") : QStringLiteral("run");
}

// The DFU side of a device, when it has one.
std::shared_ptr<SimDfuHandler> dfuHandlerOf(const SimDevice &device)
{
    for (const auto &handler : device.controlHandlers()) {
        if (auto dfu = std::dynamic_pointer_cast<SimDfuHandler>(handler))
            return dfu;
    }
    return nullptr;
}

SimCommandResult fault(SimBus &bus, const QStringList &w)
{
    if (w.size() < 3)
        return fail(QStringLiteral("usage: fault SERIAL KIND [ARGS]"));
    auto device = bus.device(w[1]);
    if (!device)
        return fail(QStringLiteral("no device %1").arg(w[1]));
    SimFaults f = device->faults();
    const QString kind = w[2];
    int a = 0;
    int b = 0;
    auto needs = [&](int count) { return w.size() == 3 + count; };
    auto catalogue = std::dynamic_pointer_cast<SimCatalogueRequestHandler>(device->requestHandler());
    auto dfu = dfuHandlerOf(*device);
    if (kind == QLatin1String("clear") && needs(0)) {
        f = SimFaults();
        if (catalogue)
            catalogue->clearRequestFailures();
        if (dfu) {
            SimDfuConfig c = dfu->config();
            c.resetOnFinalBlock = false;
            c.keepOldFirmware = false;
            c.hangAfterFinalBlock = false;
            dfu->setConfig(c);
        }
    } else if ((kind == QLatin1String("dfu-reset-on-final-block")
                || kind == QLatin1String("dfu-keep-old-firmware")
                || kind == QLatin1String("dfu-hang-on-final-block")) && needs(0)) {
        if (!dfu)
            return fail(QStringLiteral("device %1 has no DFU side").arg(w[1]));
        SimDfuConfig c = dfu->config();
        if (kind == QLatin1String("dfu-reset-on-final-block"))
            c.resetOnFinalBlock = true;
        else if (kind == QLatin1String("dfu-keep-old-firmware"))
            c.keepOldFirmware = true;
        else
            c.hangAfterFinalBlock = true;
        dfu->setConfig(c);
        return {true, {}};
    } else if (kind == QLatin1String("request") && w.size() >= 6
               && (w[3] == QLatin1String("GET") || w[3] == QLatin1String("PUT")) && toInt(w[5], &a, 0, 999)) {
        if (!catalogue)
            return fail(QStringLiteral("device %1 answers no catalogue requests").arg(w[1]));
        catalogue->failRequest(w[4], w[3] == QLatin1String("GET"), a, w.mid(6).join(QLatin1Char(' ')));
        return {true, {}};
    } else if (kind == QLatin1String("no-reply") && needs(0)) {
        f.noReply = true;
    } else if (kind == QLatin1String("delay") && needs(1) && toInt(w[3], &a, 0, 3600000)) {
        f.replyDelayMs = a;
    } else if (kind == QLatin1String("status") && w.size() >= 4 && toInt(w[3], &a, 0, 999)) {
        f.statusCode = a;
        f.statusString = w.mid(4).join(QLatin1Char(' '));
    } else if (kind == QLatin1String("read-fail") && needs(1) && toInt(w[3], &a, 0, 1000000)) {
        f.readFailAt = a;
    } else if (kind == QLatin1String("set-fail") && needs(1) && toInt(w[3], &a, 0, 1000000)) {
        f.setFailAt = a;
    } else if (kind == QLatin1String("msg-id") && needs(1) && toInt(w[3], &a, INT_MIN, INT_MAX)) {
        f.headOverrides.insert(QStringLiteral("msg_id"), a);
    } else if (kind == QLatin1String("drop-head-key") && needs(1)) {
        f.headRemovals.append(w[3]);
    } else if (kind == QLatin1String("raw-head") && w.size() >= 3) {
        f.rawHead = w.mid(3).join(QLatin1Char(' ')).toUtf8();
    } else if (kind == QLatin1String("lengths") && needs(2) && toInt(w[3], &a, 0, 0xFFFF)) {
        bool ok = false;
        const qulonglong body = w[4].toULongLong(&ok, 0);
        if (!ok || body > 0xFFFFFFFFull)
            return fail(QStringLiteral("bad body length %1").arg(w[4]));
        f.firstFrameHeadLength = uint16_t(a);
        f.firstFrameBodyLength = uint32_t(body);
    } else if (kind == QLatin1String("frame-type") && needs(2) && toInt(w[3], &a, 0, 1000000)
               && toInt(w[4], &b, 0, 255)) {
        f.frameTypeAt = a;
        f.frameType = uint8_t(b);
    } else if (kind == QLatin1String("unplug-at-frame") && needs(1) && toInt(w[3], &a, 0, 1000000)) {
        f.unplugAtFrame = a;
    } else if (kind == QLatin1String("stay-away") && needs(0)) {
        f.stayAway = true;
    } else {
        return fail(QStringLiteral("unknown fault or bad arguments: %1").arg(w.mid(2).join(QLatin1Char(' '))));
    }
    device->setFaults(f);
    return {true, {}};
}

SimCommandResult event(SimBus &bus, const QStringList &w)
{
    if (w.size() < 3)
        return fail(QStringLiteral("usage: event SERIAL wifi|remote CODE | upgrade-notice | not-ready"));
    auto device = bus.device(w[1]);
    if (!device)
        return fail(QStringLiteral("no device %1").arg(w[1]));
    // Only a device running its firmware on the bus raises input reports.
    if (!device->isPresent())
        return fail(QStringLiteral("%1 is not on the bus").arg(w[1]));
    if (device->mode() == Mode::Dfu)
        return fail(QStringLiteral("%1 is in DFU mode and raises no events").arg(w[1]));
    int code = 0;
    if ((w[2] == QLatin1String("wifi") || w[2] == QLatin1String("remote")) && w.size() == 4
        && toInt(w[3], &code, 0, 0xFFFF)) {
        device->raiseInputReport(w[2] == QLatin1String("wifi") ? 2 : 3, uint16_t(code));
    } else if (w[2] == QLatin1String("upgrade-notice") && w.size() == 3) {
        device->raiseInputReport(1, 1);
    } else if (w[2] == QLatin1String("not-ready") && w.size() == 3) {
        device->raiseInputReport(0, 0);
    } else {
        return fail(QStringLiteral("unknown event: %1").arg(w.mid(2).join(QLatin1Char(' '))));
    }
    return {true, {}};
}

SimCommandResult info(SimBus &bus, const QStringList &w)
{
    if (w.size() < 2)
        return fail(QStringLiteral("usage: info SERIAL [KEY VALUE... | KEY --absent | clear]"));
    auto device = bus.device(w[1]);
    if (!device)
        return fail(QStringLiteral("no device %1").arg(w[1]));
    auto state = std::dynamic_pointer_cast<SimCatalogueRequestHandler>(device->requestHandler());
    if (!state)
        return fail(QStringLiteral("device %1 answers no device_info").arg(w[1]));
    if (w.size() == 2) {
        SimCommandResult result{true, {}};
        const QJsonObject fields = state->deviceInfoFields();
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            const QJsonValue value = it.value();
            result.lines.append(it.key() + QLatin1Char(' ')
                                + (value.isString() ? value.toString()
                                                    : QString::fromUtf8(QJsonDocument(QJsonArray{value})
                                                                            .toJson(QJsonDocument::Compact))
                                                          .mid(1)
                                                          .chopped(1)));
        }
        for (const QString &key : state->deviceInfoRemovals())
            result.lines.append(key + QStringLiteral(" --absent"));
        return result;
    }
    if (w.size() == 3 && w[2] == QLatin1String("clear")) {
        state->clearDeviceInfoFields();
        return {true, {}};
    }
    if (w.size() < 4)
        return fail(QStringLiteral("usage: info SERIAL KEY VALUE... | KEY --absent | clear"));
    if (w.size() == 4 && w[3] == QLatin1String("--absent")) {
        state->setDeviceInfoField(w[2], QJsonValue(QJsonValue::Undefined));
        return {true, {}};
    }
    const auto value = SimCatalogueRequestHandler::deviceInfoValueFromText(w[2], w.mid(3).join(QLatin1Char(' ')));
    if (!value)
        return fail(QStringLiteral("bad value for %1: %2").arg(w[2], w.mid(3).join(QLatin1Char(' '))));
    state->setDeviceInfoField(w[2], *value);
    return {true, {}};
}

} // namespace

SimCommandResult runSimCommand(SimBus &bus, const QStringList &w)
{
    if (w.isEmpty())
        return fail(QStringLiteral("no command"));
    const QString &command = w[0];
    if (command == QLatin1String("plug")) {
        if (w.size() < 2)
            return fail(QStringLiteral("usage: plug FAMILY:SERIAL[:dfu|:oob] ..."));
        for (int i = 1; i < w.size(); ++i) {
            QString error;
            if (bus.plugList(w[i], &error) != 1)
                return fail(error.isEmpty() ? QStringLiteral("bad device %1").arg(w[i]) : error);
        }
        return {true, {}};
    }
    if (command == QLatin1String("unplug")) {
        if (w.size() != 2)
            return fail(QStringLiteral("usage: unplug SERIAL"));
        if (!bus.unplug(w[1]))
            return fail(QStringLiteral("no device %1").arg(w[1]));
        return {true, {}};
    }
    if (command == QLatin1String("list")) {
        SimCommandResult result{true, {}};
        for (const auto &device : bus.devices()) {
            result.lines.append(QStringLiteral("%1 %2 %3 %4 %5")
                                    .arg(familyKey(device->family()), device->serialNumber(),
                                         modeText(*device), device->firmwareVersion(),
                                         device->deviceName()));
        }
        return result;
    }
    if (command == QLatin1String("event"))
        return event(bus, w);
    if (command == QLatin1String("fault"))
        return fault(bus, w);
    if (command == QLatin1String("info"))
        return info(bus, w);
    if (command == QLatin1String("reenumerate")) {
        int delay = 1000;
        if (w.size() < 3 || w.size() > 4 || (w[2] != QLatin1String("run") && w[2] != QLatin1String("dfu"))
            || (w.size() == 4 && !toInt(w[3], &delay, 0, 3600000)))
            return fail(QStringLiteral("usage: reenumerate SERIAL run|dfu [MS]"));
        auto device = bus.device(w[1]);
        if (!device)
            return fail(QStringLiteral("no device %1").arg(w[1]));
        device->reenumerate(w[2] == QLatin1String("dfu") ? Mode::Dfu : Mode::Run, delay);
        return {true, {}};
    }
    return fail(QStringLiteral("unknown command %1").arg(command));
}

QString simCommandUsage()
{
    return QStringLiteral(
        "Commands:\n"
        "  plug FAMILY:SERIAL[:dfu|:oob] ...  plug devices (FAMILY orbrin, vasko or\n"
        "                                 pirok; :dfu starts the device in DFU mode,\n"
        "                                 :oob with its out-of-box set-up pending)\n"
        "  unplug SERIAL                  pull a device out\n"
        "  list                           one line per device: family serial\n"
        "                                 run|dfu|away version name\n"
        "  event SERIAL wifi CODE         raise a Wi-Fi event (input report kind 2)\n"
        "  event SERIAL remote CODE       raise a remote-control event (kind 3)\n"
        "  event SERIAL upgrade-notice    reply-ready report with byte 2 = 1\n"
        "  event SERIAL not-ready         reply-not-ready report (kind 0)\n"
        "                                 (events need a device on the bus in run mode)\n"
        "  reenumerate SERIAL run|dfu [MS]  leave the bus and come back in that mode\n"
        "                                 after MS milliseconds (default 1000)\n"
        "  info SERIAL                    the device_info fields set on the device\n"
        "  info SERIAL KEY VALUE...       answer device_info with KEY set to VALUE\n"
        "                                 (e.g. remote_name, remote_battery_status,\n"
        "                                 remote_active 1, wifi_signal_strength,\n"
        "                                 provision_status, provision_server_url,\n"
        "                                 show_alert, usb_mode, network_mode)\n"
        "  info SERIAL KEY --absent       leave KEY out of the reply\n"
        "  info SERIAL clear              forget every field set\n"
        "  fault SERIAL KIND [ARGS]       faults stay until 'fault SERIAL clear':\n"
        "      no-reply                   take requests, never answer\n"
        "      delay MS                   announce each reply MS milliseconds late\n"
        "      status CODE TEXT...        answer with this status code and text\n"
        "      request GET|PUT URL CODE TEXT...  answer that request alone with this\n"
        "                                 status, leaving the device's settings as they are\n"
        "      read-fail K                the K-th report read of each reply fails\n"
        "                                 (0 = the first frame); the reply is dropped\n"
        "      set-fail K                 refuse the K-th frame of each request\n"
        "      msg-id N                   answer with message id N\n"
        "      drop-head-key KEY          leave KEY out of reply heads\n"
        "      raw-head TEXT...           send TEXT as the reply head\n"
        "      lengths HL BL              declare these head/body lengths in the\n"
        "                                 first reply frame\n"
        "      frame-type K TYPE          give reply frame K this frame type\n"
        "      unplug-at-frame K          leave the bus on the K-th frame of a request\n"
        "      stay-away                  never come back after leaving the bus\n"
        "      dfu-reset-on-final-block   once a firmware download's last block is in,\n"
        "                                 manifest and restart at once, answering no\n"
        "                                 further DFU request\n"
        "      dfu-keep-old-firmware      a firmware download is not installed: the\n"
        "                                 device restarts with the version it ran\n"
        "      dfu-hang-on-final-block    take a firmware download's last block, then\n"
        "                                 stay on the bus in DFU mode and let every\n"
        "                                 further DFU request time out until the\n"
        "                                 device leaves the bus\n"
        "      clear                      remove every fault\n"
        "SERIAL is the serial the device reports; for Vasko devices the part before\n"
        "the first \".\" is accepted too, so no two devices may share it.\n");
}

} // namespace sim
