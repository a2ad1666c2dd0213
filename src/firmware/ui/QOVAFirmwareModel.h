#pragma once
// One row of the firmware page: a connected device, the remote control of a
// video bar, or a header or separator row of the page's table.
//
// Types: 1 small camera (and any product id of no known family), 2 video bar,
// 3 remote control of a video bar, 4 network camera, 5 section header,
// 6 separator.
// Upgrade states: 0 up to date as of updateDate, 1 newer version offered,
// 2 the same for a device in DFU mode, 3 not known: no check has answered yet
// (a new row) or the last one failed, 4 downloading, 6 installing,
// 7 installed, 8 update failed (5 is never set).

#include "QOVAError.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QOVAFirmwareModel;
using QOVAFirmwareModelRef = std::shared_ptr<QOVAFirmwareModel>;

class QOVAFirmwareModel {
public:
    qint64 type = 0;
    QString deviceImage;     // image name
    QString deviceName;
    QString productName;
    QString version;
    bool isFolded = false;
    double progress = 0;
    qint64 upgradeState = 0;
    QString serialNumber;
    QString productId;
    QString vendorId;
    QString sourcePath;      // package address from the update server
    QString localFilePath;   // the downloaded package
    QString targetVersion;
    QString checksum;        // the package's MD5 from the update check
    double totalSize = 0;
    QDateTime updateDate;    // invalid when none
    std::optional<QOVAError> updateError;
    // What the row's failure tip says for a failure the page describes
    // itself (a failed check in state 3, a failed download in state 8), and
    // the technical reason behind it; empty otherwise.
    QString failureText;
    QString failureDetail;
    void clearFailure()
    {
        failureText.clear();
        failureDetail.clear();
    }
    // The newest update check of the row, and whether it has not answered
    // yet. Each check takes the next generation; the answer of an older one
    // is dropped, so only the newest ends the checking.
    quint64 checkGeneration = 0;
    bool checking = false;
    bool isChecking() const { return checking; }
    // The last package of the offer did not match its digest: the server is
    // asked again (for a fresh digest and address) before the next download.
    bool offerIsStale = false;
    // A remote control's video bar (kept alive by the remote's row), and a
    // video bar's remote control (empty once no list holds that row).
    QOVAFirmwareModelRef relativeDeviceModel;
    std::weak_ptr<QOVAFirmwareModel> remoteControl;
    bool active = false;
    bool isRemoteUpdating = false;
    bool hasNewVersion = false;
    bool uncheckedViewModel = false;
    bool gotWarning = false;
    qint64 index = 0;

    static QOVAFirmwareModelRef make() { return std::make_shared<QOVAFirmwareModel>(); }

    bool isDFU() const;
    bool canRefresh() const;
    bool isPirok() const;
    bool isOrbrin() const;
    bool isVasko() const;
};
