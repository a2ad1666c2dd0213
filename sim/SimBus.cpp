#include "sim/SimBus.h"

#include "sim/SimFamily.h"

#include "log/log.h"

#include <QStringList>

#include <algorithm>

namespace sim {

namespace {
std::mutex globalSetupMutex;
std::vector<SimBus::DeviceSetup> &globalSetups()
{
    static std::vector<SimBus::DeviceSetup> setups;
    return setups;
}
} // namespace

void SimBus::addDeviceSetup(DeviceSetup setup)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (setup)
        m_setups.push_back(std::move(setup));
}

void SimBus::addGlobalDeviceSetup(DeviceSetup setup)
{
    std::lock_guard<std::mutex> lock(globalSetupMutex);
    if (setup)
        globalSetups().push_back(std::move(setup));
}

std::shared_ptr<SimBus> SimBus::create()
{
    return std::shared_ptr<SimBus>(new SimBus());
}

std::shared_ptr<SimBus> SimBus::shared()
{
    static std::shared_ptr<SimBus> bus = create();
    return bus;
}

SimBus::SimBus() = default;

SimBus::~SimBus()
{
    m_scheduler.clear();
}

std::shared_ptr<SimDevice> SimBus::plug(Family family, const QString &serial, Mode mode)
{
    SimDeviceConfig config;
    config.family = family;
    config.serial = serial;
    config.mode = mode;
    return plug(config);
}

std::shared_ptr<SimDevice> SimBus::plug(const SimDeviceConfig &config, QString *error)
{
    if (config.serial.isEmpty() || config.serial.size() > 126) {
        if (error)
            *error = QStringLiteral("a serial number of 1 to 126 characters is needed");
        return nullptr;
    }
    std::shared_ptr<SimDevice> device;
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        // The host knows a Vasko device by its serial before the first ".":
        // two devices it would know by one serial cannot both be plugged.
        const auto listed = [](Family family, const QString &serial) {
            return family == Family::Vasko ? serial.section(QLatin1Char('.'), 0, 0) : serial;
        };
        const QString wanted = listed(config.family, config.serial);
        for (const auto &d : m_devices) {
            if (d->serialNumber() == config.serial || listed(d->family(), d->serialNumber()) == wanted) {
                if (error)
                    *error = d->serialNumber() == config.serial
                                 ? QStringLiteral("%1 is already plugged").arg(config.serial)
                                 : QStringLiteral("%1 is already plugged as %2")
                                       .arg(wanted, d->serialNumber());
                return nullptr;
            }
        }
        device = std::make_shared<SimDevice>(weak_from_this(), config);
        std::vector<DeviceSetup> setups = m_setups;
        {
            std::lock_guard<std::mutex> global(globalSetupMutex);
            setups.insert(setups.end(), globalSetups().begin(), globalSetups().end());
        }
        for (const DeviceSetup &setup : setups)
            setup(*device);
        m_devices.push_back(device);
        m_locations[device.get()] = 0x14000000u | (m_nextLocation++ << 16);
        deviceArrives(device);
    }
    QOVA_LOG(INFO, OTHERS, "simulated %s %s plugged", qUtf8Printable(familyKey(config.family)),
             qUtf8Printable(config.serial));
    return device;
}

int SimBus::plugList(const QString &list, QString *error)
{
    int plugged = 0;
    const QStringList entries = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &raw : entries) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        const QStringList parts = entry.split(QLatin1Char(':'));
        std::optional<Family> family = familyFromKey(parts.value(0));
        const bool dfu = parts.size() == 3 && parts.at(2).compare(QLatin1String("dfu"), Qt::CaseInsensitive) == 0;
        const bool oob = parts.size() == 3 && parts.at(2).compare(QLatin1String("oob"), Qt::CaseInsensitive) == 0;
        if (!family || parts.size() < 2 || parts.size() > 3 || (parts.size() == 3 && !dfu && !oob)) {
            if (error && error->isEmpty())
                *error = QStringLiteral("bad device \"%1\": expected FAMILY:SERIAL[:dfu|:oob] with FAMILY orbrin, vasko or pirok").arg(entry);
            continue;
        }
        SimDeviceConfig config;
        config.family = *family;
        config.serial = parts.at(1).trimmed();
        config.mode = dfu ? Mode::Dfu : Mode::Run;
        config.setupPending = oob;
        QString why;
        if (plug(config, &why))
            ++plugged;
        else if (error && error->isEmpty())
            *error = why;
    }
    return plugged;
}

bool SimBus::unplug(const QString &serial)
{
    std::shared_ptr<SimDevice> device = this->device(serial);
    return device && unplug(device);
}

bool SimBus::unplug(const std::shared_ptr<SimDevice> &device)
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        auto it = std::find(m_devices.begin(), m_devices.end(), device);
        if (it == m_devices.end())
            return false;
        deviceLeaves(device);
        m_devices.erase(it);
        m_locations.erase(device.get());
    }
    QOVA_LOG(INFO, OTHERS, "simulated device %s unplugged", qUtf8Printable(device->serialNumber()));
    return true;
}

void SimBus::unplugAll()
{
    for (const auto &device : devices())
        unplug(device);
}

std::shared_ptr<SimDevice> SimBus::findLocked(const QString &serial) const
{
    for (const auto &d : m_devices) {
        if (d->serialNumber() == serial)
            return d;
    }
    for (const auto &d : m_devices) {
        const QString s = d->serialNumber();
        const qsizetype dot = s.indexOf(QLatin1Char('.'));
        if (dot >= 0 && s.left(dot) == serial)
            return d;
    }
    return nullptr;
}

std::shared_ptr<SimDevice> SimBus::device(const QString &serial) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return findLocked(serial);
}

std::vector<std::shared_ptr<SimDevice>> SimBus::devices() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_devices;
}

void SimBus::returnDueDevices()
{
    for (const auto &device : devices())
        device->returnIfDue();
}

std::vector<SimConnectionRef> SimBus::connections() const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    std::vector<SimConnectionRef> result;
    for (const auto &[id, connection] : m_connections)
        result.push_back(connection);
    return result;
}

SimConnectionRef SimBus::connection(uint64_t id) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second;
}

int SimBus::subscribe(Listener listener, std::vector<SimConnectionRef> *present)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const int token = m_nextToken++;
    m_listeners.emplace(token, std::move(listener));
    if (present) {
        present->clear();
        for (const auto &[id, connection] : m_connections)
            present->push_back(connection);
    }
    return token;
}

int SimBus::subscribe(Listener listener, const PresentHandler &present)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    std::vector<SimConnectionRef> connections;
    const int token = subscribe(std::move(listener), &connections);
    if (present)
        present(connections);
    return token;
}

void SimBus::unsubscribe(int token)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_listeners.erase(token);
}

bool SimBus::isPlugged(const std::shared_ptr<SimDevice> &device) const
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return std::find(m_devices.begin(), m_devices.end(), device) != m_devices.end();
}

void SimBus::emitEvent(const SimBusEvent &event)
{
    for (const auto &[token, listener] : m_listeners)
        listener(event);
}

SimConnectionRef SimBus::describe(const std::shared_ptr<SimDevice> &device, uint64_t id)
{
    auto c = std::make_shared<SimConnection>();
    c->device = device;
    c->id = id;
    c->mode = device->mode();
    const SimConfiguration config = device->configuration();
    const QString serial = device->serialNumber();
    const QString product = device->productName();
    const QString manufacturer = device->manufacturer();
    const uint32_t location = m_locations[device.get()];
    const uint8_t address = m_nextAddress;
    m_nextAddress = uint8_t(m_nextAddress % 127 + 1);

    platform::UsbDeviceInfo &usb = c->usb;
    usb.vendorId = device->vendorId();
    usb.productId = device->productId();
    usb.bcdDevice = device->bcdDevice();
    usb.busNumber = 1;
    usb.deviceAddress = address;
    usb.locationId = location;
    usb.serialNumber = serial;
    usb.usbSerialNumber = serial;
    usb.productName = product;
    usb.vendorName = manufacturer;
    usb.interfaces = config.interfaces;
    usb.configurationDescriptor = config.bytes;
    usb.path = QStringLiteral("sim:usb:1-%1").arg(address);

    auto hid = [&](uint32_t usagePage, int index) {
        platform::HidIdentity identity;
        identity.vendorId = usb.vendorId;
        identity.productId = usb.productId;
        identity.versionNumber = usb.bcdDevice;
        identity.locationId = location;
        identity.primaryUsagePage = usagePage;
        identity.manufacturer = manufacturer;
        identity.product = product;
        identity.serialNumber = serial;
        identity.path = QStringLiteral("sim:hid:%1:%2").arg(serial).arg(index);
        return identity;
    };
    if (c->mode == Mode::Run) {
        if (config.layout.hid >= 0)
            c->hid.push_back(hid(kProtocolUsagePage, 0));
        if (config.layout.secondHid >= 0)
            c->hid.push_back(hid(kSecondUsagePage, 1));
    }
    return c;
}

void SimBus::deviceArrives(const std::shared_ptr<SimDevice> &device)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (std::find(m_devices.begin(), m_devices.end(), device) == m_devices.end())
        return;   // unplugged while away
    if (device->isPresent())
        return;
    const uint64_t id = m_nextConnection++;
    device->enteredBus(id);
    SimConnectionRef connection = describe(device, id);
    m_connections[id] = connection;
    SimBusEvent event;
    event.kind = SimBusEvent::Arrived;
    event.connection = connection;
    emitEvent(event);
}

void SimBus::deviceLeaves(const std::shared_ptr<SimDevice> &device)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    const uint64_t id = device->connection();
    device->leftBus();
    auto it = m_connections.find(id);
    if (it == m_connections.end())
        return;
    SimBusEvent event;
    event.kind = SimBusEvent::Removed;
    event.connection = it->second;
    m_connections.erase(it);
    emitEvent(event);
}

void SimBus::inputReport(const std::shared_ptr<SimDevice> &device, int hidInterface,
                         const QByteArray &report)
{
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    auto it = m_connections.find(device->connection());
    if (it == m_connections.end() || size_t(hidInterface) >= it->second->hid.size())
        return;
    SimBusEvent event;
    event.kind = SimBusEvent::InputReport;
    event.connection = it->second;
    event.hidInterface = hidInterface;
    event.report = report;
    emitEvent(event);
}

} // namespace sim
