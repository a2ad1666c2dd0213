#include "QOVALinkOpener.h"

#include "QOVANotificationWindow.h"
#include "log/log.h"

#include <QDesktopServices>

namespace {

QOVALinkOpener::Opener &installedOpener()
{
    static QOVALinkOpener::Opener opener;
    return opener;
}

} // namespace

namespace QOVALinkOpener {

void setOpener(Opener opener)
{
    installedOpener() = std::move(opener);
}

QString failureText(const QUrl &url)
{
    return qtTrId("STRING_OPEN_LINK_FAILED").arg(url.toDisplayString());
}

bool openURL(const QUrl &url)
{
    const bool opened = installedOpener() ? installedOpener()(url) : QDesktopServices::openUrl(url);
    if (opened)
        return true;
    QOVA_LOG(WARNING, UI, "Cannot open %s: no browser or handler took it", qUtf8Printable(url.toDisplayString()));
    auto *toast = new QOVANotificationWindow;
    toast->setNotificationType(1);
    toast->setContentString(failureText(url));
    toast->show();
    return false;
}

} // namespace QOVALinkOpener
