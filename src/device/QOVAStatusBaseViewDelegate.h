#pragma once
// What a status page asks of its owner (the device page controller): the
// device's facts, answered by updateWithDeviceModel on the page.

class QOVAStatusBaseView;

class QOVAStatusBaseViewDelegate {
public:
    virtual ~QOVAStatusBaseViewDelegate() = default;
    virtual void getDeviceInformation(QOVAStatusBaseView *page) = 0;
};
