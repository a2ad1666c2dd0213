#include "QOVADeviceInfoViewController.h"

#include "QOVADevicePageFactory.h"
#include "QOVALogRedaction.h"
#include "QOVAPirokStatusView.h"
#include "QOVAPlaceholderPageView.h"
#include "QOVAStatusBaseView.h"

#include "QOVAColor.h"
#include "QOVADisplayBaseView.h"
#include "QOVAGeometry.h"

#include "QOVAIOManager.h"
#include "discovery/QOVACaptureIdentity.h"
#include "log/log.h"
#include "models/DeviceInfoModel.h"
#include "models/PasswordEnableModel.h"
#include "platform/TimeScale.h"

#include <QEvent>
#include <QTimer>

namespace {

constexpr char kStatusInfoView[] = "statusInfoView";
constexpr char kPirokStatusView[] = "pirokStatusView";
constexpr char kAdminSigninView[] = "adminSigninView";
// The Diagnostics group's first page depends on the family.
constexpr char kDiagnosticsFirstView[] = "(diagnostics first view)";

constexpr qint64 kStatusTab = 0;
constexpr qint64 kAdminTab = 2;
constexpr int kResetMaskMs = 30000;

// A menu choice by text: the tab, the title's key (none: only "FirstView")
// and whether "FirstView" also chooses it. The first matching row wins.
struct TextChoice {
    qint64 tab;
    const char *key;
    bool firstView;
    const char *getter;
};

const TextChoice kTextChoices[] = {
    {1, "STRING_CAMERA_CONTROL", true, "cameraSettingsView"},
    {1, "STRING_BLUETOOTH_MODE", false, "bluetoothPairModeView"},
    {1, "STRING_AUDIO_SETTINGS", false, "audioSettingsView"},
    {2, "STRING_GENERAL_SETTINGS", true, "orbrinGeneralView"},
    {2, "STRING_CAMERA_TRACKING", false, "cameraTrackingView"},
    {2, "STRING_WIFI_SETTINGS", false, "wifiSettignsView"},
    {2, "STRING_NETWORK_SETTINGS", false, "networkView"},
    {2, "STRING_BLUETOOTH", false, "bleFeatureView"},
    {2, "STRING_PASSWORD_SETTINGS", false, "passwordSettingsView"},
    {2, "STRING_PROVISIONING_SERVER", false, "provisionServerView"},
    {2, "STRING_SYSTEM_RESTART", false, "systemRestartView"},
    {2, "STRING_FACTORY_RESET", false, "factoryResetView"},
    {2, "STRING_CONFIGURATION", false, "configurationView"},
    {2, "STRING_MISCELLANEOUS", false, "miscellaneousView"},
    {2, "STRING_CERTIFICATES", false, "certificatesView"},
    {2, "STRING_LAB_FEATURE", false, "labFeatureView"},
    {3, "STRING_AUDIO_TEST", false, "audioDiagnosticsView"},
    {3, nullptr, true, kDiagnosticsFirstView},
    {3, "STRING_AUDIO_METERS", false, "audioMetersView"},
    {3, "STRING_OSD", false, "osdView"},
    {3, "STRING_LOGS", false, "logView"},
};

// A menu choice by index: the getters of entries 0, 1, ... of a tab, and the
// getter of any other entry (none: no page).
struct IndexChoice {
    qint64 tab;
    std::initializer_list<const char *> entries;
    const char *otherwise;
};

const IndexChoice kIndexChoices[] = {
    {1, {"cameraSettingsView", "cameraTrackingView", "bluetoothPairModeView"}, "audioSettingsView"},
    {2,
     {"orbrinGeneralView", "wifiSettignsView", "bleFeatureView", "passwordSettingsView", "provisionServerView",
      "systemRestartView", "factoryResetView", "configurationView"},
     nullptr},
    {3, {"audioDiagnosticsView", "osdView"}, "logView"},
};

QString placeholderGetter(const QOVADisplayBaseView *page)
{
    const auto *placeholder = qobject_cast<const QOVAPlaceholderPageView *>(page);
    return placeholder ? placeholder->getter() : QString();
}

} // namespace

QOVADeviceInfoViewController::QOVADeviceInfoViewController(QObject *parent)
    : QOVABaseViewController(parent)
{
}

QOVADeviceInfoViewController::~QOVADeviceInfoViewController()
{
    if (isViewLoaded())
        view()->removeEventFilter(this);
    viewDidDisappear();
}

void QOVADeviceInfoViewController::setDeviceInfoDelegate(QOVADeviceInfoViewControllerDelegate *delegate)
{
    m_delegate = delegate;
    m_delegateGuard = dynamic_cast<QObject *>(delegate);
    m_delegateGuarded = m_delegateGuard != nullptr;
}

QOVADeviceInfoViewControllerDelegate *QOVADeviceInfoViewController::deviceInfoDelegate() const
{
    if (m_delegateGuarded && m_delegateGuard.isNull())
        return nullptr;
    return m_delegate;
}

// ------------------------------------------------------------------ view

void QOVADeviceInfoViewController::viewDidLoad()
{
    QOVABaseViewController::viewDidLoad();
    view()->installEventFilter(this);
    qovaSetFrame(tabControlView(), 0, 0, 210, 544);
    qovaSetFrame(verticalLine(), 210, 0, 1, 544);

    QOVA_LOG(INFO, UI, "Device product ID is :%s", qUtf8Printable(productId()));
    if (productId() == QLatin1String("5c01")) {
        // The Pirok page is put on screen as it is built; no page is current.
        pirokStatusView();
        return;
    }
    if (QOVAStatusBaseView *status = statusInfoView()) {
        status->show();
        m_currentView = status;
    }
}

bool QOVADeviceInfoViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (isViewLoaded() && watched == view() && !event->spontaneous()) {
        if (event->type() == QEvent::Hide && !m_disappeared) {
            m_disappeared = true;
            viewDidDisappear();
        } else if (event->type() == QEvent::Show && m_disappeared) {
            // Shown again (the main window came back): the page on screen
            // resumes what it stopped.
            m_disappeared = false;
            if (m_currentView)
                startShowing(m_currentView);
        }
    }
    return QOVABaseViewController::eventFilter(watched, event);
}

void QOVADeviceInfoViewController::viewDidDisappear()
{
    if (auto *status = qobject_cast<QOVAStatusBaseView *>(builtPage(QLatin1String(kStatusInfoView))))
        status->cancelTimer();
    for (const char *getter : {"networkView", "wifiSettignsView", "cameraSettingsView"}) {
        if (QOVADisplayBaseView *page = builtPage(QLatin1String(getter)))
            page->cancelDisplayViewEvent();
    }
}

QOVATabControlView *QOVADeviceInfoViewController::tabControlView()
{
    if (!m_tabControlView) {
        const QString productID = productId();
        m_tabControlView = new QOVATabControlView(productID, view());
        m_tabControlView->setObjectName(QStringLiteral("tabControlView"));
        const StrategyRef strategy = createFactoryDevice(productID);
        m_tabControlView->setStategy(strategy);
        if (strategy)
            strategy->validateInput(m_tabControlView);
        m_tabControlView->setDeviceName(m_model ? m_model->productDeviceName : QString());
        m_tabControlView->setTabControlDelegate(this);
        m_tabControlView->show();
    }
    return m_tabControlView;
}

QWidget *QOVADeviceInfoViewController::verticalLine()
{
    if (!m_verticalLine) {
        m_verticalLine = new QWidget(view());
        m_verticalLine->setObjectName(QStringLiteral("verticalLine"));
        m_verticalLine->setAutoFillBackground(true);
        QPalette palette = m_verticalLine->palette();
        palette.setColor(QPalette::Window, colorWithString(QStringLiteral("cbcbcb"), 1.0));
        m_verticalLine->setPalette(palette);
        m_verticalLine->show();
    }
    return m_verticalLine;
}

StrategyRef QOVADeviceInfoViewController::createFactoryDevice(const QString &productID)
{
    if (productID == QLatin1String("5c01"))
        return Strategy::strategyWithClassName(QStringLiteral("PirokStrategy"));
    if (productID == QLatin1String("6e17"))
        return Strategy::strategyWithClassName(QStringLiteral("OrbrinStrategy"));
    if (productID == QLatin1String("6e12"))
        return Strategy::strategyWithClassName(QStringLiteral("VaskoStrategy"));
    return nullptr;
}

// ------------------------------------------------------------------ pages

QOVADisplayBaseView *QOVADeviceInfoViewController::builtPage(const QString &getter) const
{
    return m_pages.value(getter);
}

QOVADisplayBaseView *QOVADeviceInfoViewController::pageForGetter(const QString &getter)
{
    if (QOVADisplayBaseView *page = m_pages.value(getter))
        return page;
    if (!QOVADevicePageFactory::rowForGetter(getter))
        return nullptr;
    // The page area must exist before a page is placed in it.
    QWidget *area = view();
    if (QOVADisplayBaseView *page = m_pages.value(getter))
        return page;   // built while the view loaded (the status page)
    QOVADisplayBaseView *page = QOVADevicePageFactory::build(getter, *this);
    if (!page)
        return nullptr;
    page->hide();
    page->setParent(area);
    qovaSetFrame(page, 211, 0, 619, 544);
    m_pages.insert(getter, page);
    return page;
}

void QOVADeviceInfoViewController::dropPage(const QString &getter)
{
    QPointer<QOVADisplayBaseView> page = m_pages.take(getter);
    if (!page)
        return;
    if (page == m_currentView) {
        page->cancelDisplayViewEvent();
        m_currentView = nullptr;
    }
    page->hide();
    page->setParent(nullptr);
    page->deleteLater();
}

QOVAStatusBaseView *QOVADeviceInfoViewController::statusInfoView()
{
    return qobject_cast<QOVAStatusBaseView *>(pageForGetter(QLatin1String(kStatusInfoView)));
}

QOVAPirokStatusView *QOVADeviceInfoViewController::pirokStatusView()
{
    const bool built = builtPage(QLatin1String(kPirokStatusView)) != nullptr;
    auto *page = qobject_cast<QOVAPirokStatusView *>(pageForGetter(QLatin1String(kPirokStatusView)));
    if (page && !built)
        page->show();
    return page;
}

QString QOVADeviceInfoViewController::currentGetter() const
{
    if (!m_currentView)
        return QString();
    for (auto it = m_pages.cbegin(); it != m_pages.cend(); ++it) {
        if (it.value() == m_currentView)
            return it.key();
    }
    return QString();
}

QString QOVADeviceInfoViewController::getterForChoice(qint64 tab, const QString &text) const
{
    if (tab == kStatusTab)
        return QLatin1String(productId() == QLatin1String("5c01") ? kPirokStatusView : kStatusInfoView);
    const bool firstView = text == QLatin1String("FirstView");
    for (const TextChoice &choice : kTextChoices) {
        if (choice.tab != tab)
            continue;
        // Titles are compared as the menu shows them, in the user's language.
        const bool matches = (firstView && choice.firstView) || (choice.key && text == qtTrId(choice.key));
        if (!matches)
            continue;
        if (choice.getter == kDiagnosticsFirstView)
            return QLatin1String(productId() == QLatin1String("6e17") ? "audioDiagnosticsView" : "audioMetersView");
        return QLatin1String(choice.getter);
    }
    return QString();
}

QString QOVADeviceInfoViewController::getterForChoice(qint64 tab, qint64 subIndex) const
{
    if (tab == kStatusTab)
        return getterForChoice(tab, QString());
    for (const IndexChoice &choice : kIndexChoices) {
        if (choice.tab != tab)
            continue;
        if (subIndex >= 0 && subIndex < qint64(choice.entries.size()))
            return QLatin1String(choice.entries.begin()[subIndex]);
        return choice.otherwise ? QLatin1String(choice.otherwise) : QString();
    }
    return QString();
}

QOVADisplayBaseView *QOVADeviceInfoViewController::selectDisplayView(qint64 tab, const QString &subIndexString)
{
    const QString getter = getterForChoice(tab, subIndexString);
    return getter.isEmpty() ? nullptr : pageForGetter(getter);
}

QOVADisplayBaseView *QOVADeviceInfoViewController::selectDisplayView(qint64 tab, qint64 subIndex)
{
    const QString getter = getterForChoice(tab, subIndex);
    return getter.isEmpty() ? nullptr : pageForGetter(getter);
}

void QOVADeviceInfoViewController::putIntoPageArea(QOVADisplayBaseView *page)
{
    if (page->parentWidget() != view())
        page->setParent(view());
    qovaSetFrame(page, 211, 0, 619, 544);
    page->show();
    page->raise();
}

void QOVADeviceInfoViewController::addBaseView(QOVADisplayBaseView *page)
{
    if (!page || page == m_currentView)
        return;
    putIntoPageArea(page);
    if (QOVADisplayBaseView *old = m_currentView) {
        old->cancelDisplayViewEvent();
        old->hide();
    }
    // The Pirok page is on screen without being current; another page hides it.
    if (QOVADisplayBaseView *pirok = builtPage(QLatin1String(kPirokStatusView)); pirok && pirok != page)
        pirok->hide();
    m_currentView = page;
    startShowing(page);
}

void QOVADeviceInfoViewController::startShowing(QOVADisplayBaseView *page)
{
    // Only the page on screen says a failed read, so a new showing of any
    // page starts with nothing said.
    m_readFailureSaid.clear();
    page->handleDisplayViewEvent();
}

bool QOVADeviceInfoViewController::sameKind(QOVADisplayBaseView *page, QOVADisplayBaseView *current) const
{
    if (!page || !current)
        return false;
    if (page == current)
        return true;
    // Placeholder pages share one class; each stands for its own page.
    const QString pageGetter = placeholderGetter(page);
    const QString currentGetter = placeholderGetter(current);
    if (!pageGetter.isEmpty() || !currentGetter.isEmpty())
        return pageGetter == currentGetter;
    const QMetaObject *currentClass = current->metaObject();
    if (currentClass == &QOVADisplayBaseView::staticMetaObject)
        return false;
    return page->metaObject()->inherits(currentClass);
}

// ------------------------------------------------------------------ menu

void QOVADeviceInfoViewController::didSelectedIndexString(qint64 tab, const QString &text)
{
    if (tab == kAdminTab && text == QLatin1String("Password")) {
        checkAdminPassword();
        return;
    }
    QOVADisplayBaseView *page = selectDisplayView(tab, text);
    if (sameKind(page, m_currentView))
        return;
    addBaseView(page);
}

void QOVADeviceInfoViewController::didSelectedIndex(qint64 tab, qint64 subIndex)
{
    if (tab == kAdminTab && subIndex == -1) {
        checkAdminPassword();
        return;
    }
    QOVADisplayBaseView *page = selectDisplayView(tab, subIndex);
    if (sameKind(page, m_currentView))
        return;
    addBaseView(page);
}

// ------------------------------------------------------------------ administrator gate

void QOVADeviceInfoViewController::checkAdminPassword()
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getOrbrinPasswordEnableModel(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            const auto *model = std::get_if<QOVAModelRef>(&reply);
            const auto enable = model ? qova_model_cast<PasswordEnableModel>(*model) : nullptr;
            if (!enable) {
                // Without the answer the group stays closed, as on a failure.
                QOVA_LOG(ERROR, UI, "Get Password Status Failure, the reason is %s",
                         "the reply holds no password state");
                return;
            }
            self->printLogForJsonModel(*enable);
            if (enable->isEnable_password())
                self->addBaseView(self->pageForGetter(QLatin1String(kAdminSigninView)));
            else
                self->tabControlView()->expandAdminSettingView();
        },
        [](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get Password Status Failure, the reason is %s", qUtf8Printable(reason));
        });
}

void QOVADeviceInfoViewController::loginUsingPassword(const QString &password)
{
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->loginDeviceUsingPassword(
        password, serialNumber(),
        [self](const QString &) {
            QOVA_LOG(INFO, UI, "Success login the Orbrin");
            if (!self)
                return;
            self->tabControlView()->expandAdminSettingView();
            // The next visit asks again on a new, empty sign-in page.
            self->dropPage(QLatin1String(kAdminSigninView));
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Login failure, reason is %s", qUtf8Printable(reason));
            if (!self)
                return;
            QOVADisplayBaseView *page = self->builtPage(QLatin1String(kAdminSigninView));
            if (!page)
                page = self->m_currentView;
            if (page)
                page->showNotificationWindow(false, qtTrId("NOTIFICATION_TIP_LOGIN_FAILED"));
        });
}

// ------------------------------------------------------------------ device facts

void QOVADeviceInfoViewController::getDeviceInformation(QOVAStatusBaseView *)
{
    // Requests have no time-out: while one is unanswered the poll waits for
    // it instead of piling more onto the device.
    if (m_deviceInfoPending) {
        QOVA_LOG(DEBUG, UI, "Device information still awaited, no new request.");
        return;
    }
    m_deviceInfoPending = true;
    QPointer<QOVADeviceInfoViewController> self(this);
    QOVAIOManager::usbManagerShared()->getDeviceInformation(
        serialNumber(),
        [self](const QOVAReplyObject &reply) {
            if (!self)
                return;
            self->m_deviceInfoPending = false;
            const auto *model = std::get_if<QOVAModelRef>(&reply);
            const auto info = model ? qova_model_cast<DeviceInfoModel>(*model) : nullptr;
            if (!info) {
                QOVA_LOG(ERROR, UI, "Get Device Information Failure: %s", "the reply holds no device information");
                return;
            }
            QOVA_LOG(INFO, UI, "Get DeviceInformation Success!");
            if (QOVAStatusBaseView *status = self->statusInfoView())
                status->updateWithDeviceModel(*info);
            self->tabControlView()->setDeviceName(info->device_name);
            self->transferDeviceName(info->device_name);
        },
        [self](const QString &reason) {
            QOVA_LOG(ERROR, UI, "Get Device Information Failure: %s", qUtf8Printable(reason));
            if (self)
                self->m_deviceInfoPending = false;
        });
}

void QOVADeviceInfoViewController::transferDeviceName(const QString &name)
{
    if (QOVADeviceInfoViewControllerDelegate *delegate = deviceInfoDelegate())
        delegate->deviceName(name, serialNumber());
}

void QOVADeviceInfoViewController::printLogForJsonModel(const QOVAModelRef &model)
{
    if (model)
        printLogForJsonModel(*model);
}

void QOVADeviceInfoViewController::printLogForJsonModel(const QOVAJSONModel &model)
{
    // Secrets a reply may carry (passwords, credentials in addresses) never
    // reach the log.
    QOVA_LOG(INFO, UI, "%s : %s", qUtf8Printable(model.className()),
             redactedJsonText(model.toJSONObject()).constData());
}

QString QOVADeviceInfoViewController::getUniqueID()
{
    if (!m_model)
        return QString();
    m_model->locationID = qova::discovery::trimLocationText(m_model->locationID);
    return qova::discovery::captureUniqueID(m_model->locationID, m_model->vendorId, m_model->productId);
}

// ------------------------------------------------------------------ reset mask and shut-down

void QOVADeviceInfoViewController::startResetTimer()
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        showMaskViewWithProgress(false);
        timer->deleteLater();
    });
    m_resetTimer = timer;
    timer->start(platform::scaledMs(kResetMaskMs));
}

bool QOVADeviceInfoViewController::isResetTimerPending() const
{
    const auto *timer = qobject_cast<const QTimer *>(m_resetTimer.data());
    return timer && timer->isActive();
}

int QOVADeviceInfoViewController::resetTimerInterval() const
{
    const auto *timer = qobject_cast<const QTimer *>(m_resetTimer.data());
    return timer && timer->isActive() ? timer->interval() : -1;
}

void QOVADeviceInfoViewController::stopCameraPreview()
{
    // The camera page stops its capture when it is the page on screen.
    QOVADisplayBaseView *camera = builtPage(QStringLiteral("cameraSettingsView"));
    if (camera && camera == m_currentView)
        QMetaObject::invokeMethod(camera, "stopPreview", Qt::DirectConnection);
}

void QOVADeviceInfoViewController::stopReportAudioMeters()
{
    QOVADisplayBaseView *meters = builtPage(QStringLiteral("audioMetersView"));
    if (meters && meters == m_currentView)
        meters->cancelDisplayViewEvent();
}
