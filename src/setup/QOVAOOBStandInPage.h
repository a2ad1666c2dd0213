#pragma once
// STAND-IN until the set-up wizards land: the page both wizard stand-ins
// show, the device's picture and name. Replaced with the wizards.

class QWidget;
class QOVADeviceListItem;

void qovaBuildOOBStandInPage(QWidget *page, const QOVADeviceListItem *item);
