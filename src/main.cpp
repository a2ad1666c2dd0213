// Placeholder application until the application shell lands: one window that
// lists the maker's devices the backend reports, as they come and go.

#include "log/log.h"
#include "platform/Backend.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

namespace {

constexpr uint32_t kVendorId = 0x1D5C;
const uint16_t kRunModeIds[] = {0x6E17, 0x5C01, 0x6E12};
const uint16_t kDfuModeIds[] = {0x6E18, 0x5C02, 0x6E13};

bool isDfuModeId(uint16_t productId)
{
    for (uint16_t id : kDfuModeIds) {
        if (id == productId)
            return true;
    }
    return false;
}

class DeviceListWindow : public QWidget {
public:
    DeviceListWindow()
    {
        setWindowTitle(QStringLiteral("Orvalinde"));
        setFixedSize(820, 600);
        auto *layout = new QVBoxLayout(this);
        m_title = new QLabel(this);
        m_title->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold;"));
        m_list = new QListWidget(this);
        m_list->setStyleSheet(QStringLiteral("font-size: 15px;"));
        layout->addWidget(m_title);
        layout->addWidget(m_list);
        updateTitle();
    }

    void start()
    {
        platform::Backend &backend = platform::backend();
        m_backendName = backend.name();
        m_hid = backend.createHidManager();
        std::vector<platform::HidMatch> matches;
        for (uint16_t id : kRunModeIds)
            matches.push_back({kVendorId, id});
        m_hid->setDeviceMatching(matches);
        m_hid->setCallbacks([this](const platform::HidDeviceRef &d) { hidArrived(d); },
                            [this](const platform::HidDeviceRef &d) { removeRow(d->identity().path); });
        m_hid->open();

        platform::UsbBus &usb = backend.usbBus();
        m_watch = usb.watch([this](const platform::UsbDeviceRef &d) { usbArrived(d); },
                            [this](const platform::UsbDeviceRef &d) { removeRow(d->info().path); });
        for (const auto &d : usb.devices())
            usbArrived(d);
        updateTitle();
    }

private:
    void hidArrived(const platform::HidDeviceRef &device)
    {
        const platform::HidIdentity id = device->identity();
        if (id.productId == 0x6E12 && id.primaryUsagePage == 0xFF00)
            return;   // the Vasko camera's second HID interface
        addRow(id.path, QStringLiteral("%1    %2    %3")
                            .arg(id.product.value_or(QStringLiteral("?")),
                                 id.serialNumber.value_or(QStringLiteral("?")),
                                 QString::asprintf("%04x", id.productId)));
    }

    void usbArrived(const platform::UsbDeviceRef &device)
    {
        const platform::UsbDeviceInfo info = device->info();
        if (info.vendorId != kVendorId || !isDfuModeId(info.productId))
            return;
        addRow(info.path, QStringLiteral("%1    %2    %3 (firmware update mode)")
                              .arg(info.productName.value_or(QStringLiteral("?")),
                                   info.usbSerialNumber.value_or(QStringLiteral("?")),
                                   QString::asprintf("%04x", info.productId)));
    }

    void addRow(const QString &key, const QString &text)
    {
        if (rowOf(key))
            return;
        auto *item = new QListWidgetItem(text, m_list);
        item->setData(Qt::UserRole, key);
        updateTitle();
    }

    void removeRow(const QString &key)
    {
        delete rowOf(key);
        updateTitle();
    }

    QListWidgetItem *rowOf(const QString &key) const
    {
        for (int i = 0; i < m_list->count(); ++i) {
            if (m_list->item(i)->data(Qt::UserRole).toString() == key)
                return m_list->item(i);
        }
        return nullptr;
    }

    void updateTitle()
    {
        QString text = m_list->count() == 0
                           ? QStringLiteral("Connect a device")
                           : QStringLiteral("%1 device(s) connected").arg(m_list->count());
        if (m_backendName == QLatin1String("sim"))
            text += QStringLiteral(" (simulated devices)");
        m_title->setText(text);
    }

    QLabel *m_title = nullptr;
    QListWidget *m_list = nullptr;
    QString m_backendName;
    std::unique_ptr<platform::HidManager> m_hid;
    std::unique_ptr<platform::UsbBus::Watch> m_watch;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvalinde"));
    QApplication::setApplicationVersion(QStringLiteral(ORVALINDE_VERSION));
    platform::installBackendFromEnvironment();

    DeviceListWindow window;
    window.start();
    window.show();

    const QString screenshot = qEnvironmentVariable("ORVALINDE_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, screenshot] {
            if (!window.grab().save(screenshot))
                qWarning("cannot save the screenshot to %s", qPrintable(screenshot));
            if (qEnvironmentVariable("ORVALINDE_QUIT_AFTER_SCREENSHOT") == QLatin1String("1"))
                QApplication::quit();
        });
    }
    return app.exec();
}
