#pragma once
// Owner of the log page: fetches the device's system log or crash file and
// writes it where the user chose; the page is told when the fetch is over.

#include <QString>

class QOVADisplayBaseView;

// The log page as its owner updates it.
class QOVALogViewInterface {
public:
    virtual ~QOVALogViewInterface() = default;
    // Enables both download buttons again and closes the waiting window.
    virtual void stopDownloadingAnimation() = 0;
    // The page itself, for the outcome's toast.
    virtual QOVADisplayBaseView *displayView() = 0;
};

class QOVALogViewDelegate {
public:
    virtual ~QOVALogViewDelegate() = default;
    virtual void logView(QOVALogViewInterface *view, const QString &downloadLogToPath) = 0;
    virtual void downloadCoredumpLogToPath(const QString &path) = 0;
};
