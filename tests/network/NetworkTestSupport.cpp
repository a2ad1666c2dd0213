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
    const auto received = device->receivedRequests();
    if (received.empty())
        return {};
    if (raw)
        *raw = received.back().body;
    return QJsonDocument::fromJson(received.back().body).object();
}

} // namespace nettest
