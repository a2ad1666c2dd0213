#pragma once
// The view of one device or remote-control row on the firmware page: the
// picture and name, the installed and offered versions and, by the row's
// upgrade state, the Update button, the download or installation progress
// with a Cancel link, an up-to-date or installed mark, or the reason of a
// failed update or check (with "Check again" in place of Update after a
// failed check); and "Update from local file". Every click goes to the
// delegate; the cell starts no work itself.

#include "QOVAFirmwareModel.h"

#include <QWidget>

class QOVAButton;
class QOVAFirmwareStatusView;
class QOVAFirmwareUpgradeCell;
class QOVAImageView;
class QOVALabel;
class QOVAUpgradeFailedTipView;
class QProgressBar;

class QOVAFirmwareUpgradeCellDelegate {
public:
    virtual ~QOVAFirmwareUpgradeCellDelegate() = default;
    virtual void updateIfNeedPassword(QOVAFirmwareUpgradeCell *cell) = 0;
    virtual void cancelDownload(QOVAFirmwareUpgradeCell *cell) = 0;
    virtual void performLocalDFU(QOVAFirmwareUpgradeCell *cell, const QString &filePath) = 0;
    // The row's last update check failed and the user asks again.
    virtual void checkAgain(QOVAFirmwareUpgradeCell *cell) = 0;
};

class QOVAFirmwareUpgradeCell : public QWidget {
    Q_OBJECT
public:
    explicit QOVAFirmwareUpgradeCell(QWidget *parent = nullptr);

    void setDelegate(QOVAFirmwareUpgradeCellDelegate *delegate) { m_delegate = delegate; }

    // Shows the row (and may give it a date or cap its progress, see the
    // source).
    void updateWithModel(const QOVAFirmwareModelRef &model);
    // Download progress of the row shown (its progress already stored).
    void updateProgress(double progress);

    // Button actions.
    void clickUpdateButton();
    void clickCancelDownloadButton();
    void clickLocalUpdateButton();

    QOVAFirmwareModelRef updateModel() const { return m_updateModel; }

    QOVAImageView *deviceImageView() const { return m_deviceImageView; }
    QOVALabel *deviceNameLabel() const { return m_deviceNameLabel; }
    QOVALabel *versionLabel() const { return m_versionLabel; }
    QOVAButton *localUpdateButton() const { return m_localUpdateButton; }
    QOVAButton *updateButton() const { return m_updateButton; }
    QProgressBar *updateProgressIndicator() const { return m_progress; }
    QOVAButton *cancelButton() const { return m_cancelButton; }
    QOVALabel *remainingSizeLabel() const { return m_remainingSizeLabel; }
    QOVAFirmwareStatusView *statusView() const { return m_statusView; }
    QOVAUpgradeFailedTipView *failedView() const { return m_failedView; }

    static QString downloadText(double progress, double totalSize);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutViews();
    void setProgressValue(double value);

    QOVAFirmwareUpgradeCellDelegate *m_delegate = nullptr;
    QOVAFirmwareModelRef m_updateModel;
    QOVAImageView *m_deviceImageView = nullptr;
    QOVALabel *m_deviceNameLabel = nullptr;
    QOVALabel *m_versionLabel = nullptr;
    QOVAButton *m_localUpdateButton = nullptr;
    QOVAButton *m_updateButton = nullptr;
    QProgressBar *m_progress = nullptr;
    QOVAButton *m_cancelButton = nullptr;
    QOVALabel *m_remainingSizeLabel = nullptr;
    QOVAFirmwareStatusView *m_statusView = nullptr;
    QOVAUpgradeFailedTipView *m_failedView = nullptr;
};
