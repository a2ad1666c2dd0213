#pragma once
// Flashes one firmware file chosen on disk into one connected device: a
// confirmation (title, tip, versions, Update and Cancel), a progress stage
// while the file goes to the flashing queue, and a result (success or
// failure) whose Close leaves the page as it is after a success and returns
// to the device list after a failure. While it is open the
// application ignores device removals, so the page stays while the device
// leaves run mode and comes back. The window checks nothing in the file
// itself: a file the flashing queue refuses ends in the failure result.

#include "QOVAWindow.h"

#include <QString>

class QOVAButton;
class QOVAImageView;
class QOVALabel;
class QProgressBar;

class QOVAManualUpdateWindow : public QOVAWindow {
    Q_OBJECT
public:
    QOVAManualUpdateWindow(const QSizeF &size, const QString &filePath, const QString &currentVersion,
                           const QString &fileVersion);

    // Local-file mode for the device with that serial number: the title
    // says so and the confirmation's version rows are hidden. In either mode
    // a success shows the version the device reports after the flash.
    void initForLocalDFU(const QString &serialNumber);
    // The device to flash outside local-file mode.
    void setUpdateSerialNumber(const QString &serialNumber) { m_updateSerial = serialNumber; }

    void show() override;

    void clickUpdateButton();
    void clickCancelButton();
    void clickCloseButton();

    enum class Stage { Confirmation, Progress, Succeeded, Failed };
    Stage stage() const { return m_stage; }
    bool isLocalDFU() const { return m_localDFU; }
    QString filePath() const { return m_filePath; }

    QOVALabel *updateTitleLabel() const { return m_updateTitleLabel; }
    QOVALabel *tipLabel() const { return m_tipLabel; }
    QOVALabel *currentTitleLabel() const { return m_currentTitleLabel; }
    QOVALabel *currentValueLabel() const { return m_currentValueLabel; }
    QOVALabel *fileTitleLabel() const { return m_fileTitleLabel; }
    QOVALabel *fileValueLabel() const { return m_fileValueLabel; }
    QOVAButton *updateButton() const { return m_updateButton; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVALabel *updatingLabel() const { return m_updatingLabel; }
    QProgressBar *updateProgressIndicator() const { return m_progress; }
    QOVAImageView *resultImageView() const { return m_resultImageView; }
    QOVALabel *resultLabel() const { return m_resultLabel; }
    QOVAButton *closeButton() const { return m_closeButton; }

private:
    void startLocalUpdate();
    // reportedVersion: what the device reports once it runs again (empty
    // when it could not be read); shown as its current version.
    void updateSuccessLayout(const QString &reportedVersion);
    void updateFailedLayout();
    void removeAllViews();
    void showResult(bool success, const QString &reportedVersion = {});
    void finish();

    QString m_filePath;
    QString m_currentVersion;
    QString m_fileVersion;
    bool m_localDFU = false;
    QString m_localDFUSerial;
    QString m_updateSerial;
    Stage m_stage = Stage::Confirmation;

    QOVALabel *m_updateTitleLabel = nullptr;
    QOVALabel *m_tipLabel = nullptr;
    QOVALabel *m_currentTitleLabel = nullptr;
    QOVALabel *m_currentValueLabel = nullptr;
    QOVALabel *m_fileTitleLabel = nullptr;
    QOVALabel *m_fileValueLabel = nullptr;
    QOVAButton *m_updateButton = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVALabel *m_updatingLabel = nullptr;
    QProgressBar *m_progress = nullptr;
    QOVAImageView *m_resultImageView = nullptr;
    QOVALabel *m_resultLabel = nullptr;
    QOVAButton *m_closeButton = nullptr;
};
