#pragma once
// Owner of the configuration page: exports the device's configuration to a
// file and imports one into the device.

#include <QString>

class QOVADisplayBaseView;

class QOVAConfigurationViewDelegate {
public:
    virtual ~QOVAConfigurationViewDelegate() = default;
    // view: the asking page (toasts go to it).
    virtual void getConfigFile(QOVADisplayBaseView *view, const QString &downloadFilepath) = 0;
    virtual void importConfigFileFromPC(QOVADisplayBaseView *view, const QString &filePath) = 0;
};
