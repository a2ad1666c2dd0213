#include "NetworkTestSupport.h"

#include "QOVABaseViewController.h"
#include "QOVAMaskView.h"

#include "sim/SimDevice.h"

namespace nettest {

bool NetworkFixture::pageDimmed() const
{
    QOVABaseViewController *page = delegate()->currentController();
    return page && page->maskView() && page->maskView()->isVisible();
}

QJsonObject NetworkFixture::lastBody(const std::shared_ptr<sim::SimDevice> &device, QByteArray *raw)
{
    // The application asks a plugged device questions of its own (set-up
    // state, device information); those carry no body, so the request the
    // dialog made is the last one that does.
    const auto received = device->receivedRequests();
    for (auto it = received.rbegin(); it != received.rend(); ++it) {
        if (it->body.isEmpty())
            continue;
        if (raw)
            *raw = it->body;
        return QJsonDocument::fromJson(it->body).object();
    }
    return {};
}

} // namespace nettest
