#pragma once
// Opens a web address the user clicked (Help, a status page's reference
// link, the warning banner, any link of a text field or label) in the
// desktop's browser. When nothing could open it - no browser, no desktop
// handler - a failure toast says so and shows the address, so the click is
// never silent.

#include <QUrl>

#include <functional>

namespace QOVALinkOpener {

// Opens the address; false (after the toast) when it could not be opened.
bool openURL(const QUrl &url);

// What opens an address: the desktop's services unless replaced (tests put
// an opener that fails in place). nullptr restores the desktop's.
using Opener = std::function<bool(const QUrl &)>;
void setOpener(Opener opener);

// The toast's text for an address that could not be opened.
QString failureText(const QUrl &url);

} // namespace QOVALinkOpener
