#pragma once
// The page table of the device page controller: one row per page getter
// ("orbrinGeneralView", "cameraSettingsView", ...) with the function that
// builds that page for the open device and makes the controller its
// delegate. A row without a function builds a placeholder page that names
// its getter; an area replaces its rows' placeholders with real builders.
//
// A builder returns a new page without a parent; the controller puts it
// into its view (hidden) and keeps it. A builder may return none when the
// device has no such page (the status page of an unknown family).
//
//   {"orbrinGeneralView", [](QOVADeviceInfoViewController &c) -> QOVADisplayBaseView * {
//        auto *page = new QOVAOrbrinGeneralView(c.productId());
//        page->setDelegate(&c);
//        return page;
//    }},

#include <QString>
#include <QStringList>

class QOVADeviceInfoViewController;
class QOVADisplayBaseView;

namespace QOVADevicePageFactory {

using Builder = QOVADisplayBaseView *(*)(QOVADeviceInfoViewController &controller);

struct Row {
    const char *getter;
    Builder build;   // none: the placeholder page
};

// The row of a getter, or none when the table has no such page.
const Row *rowForGetter(const QString &getter);
// Builds the page of a getter (the placeholder for a row without builder);
// none for an unknown getter or when the builder gives none.
QOVADisplayBaseView *build(const QString &getter, QOVADeviceInfoViewController &controller);
// Every getter of the table, in table order.
QStringList getters();

} // namespace QOVADevicePageFactory
