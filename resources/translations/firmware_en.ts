<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="NOTIFICATION_DEVICE_DISCONNECTED">
        <source>The device was disconnected.</source>
        <translation>The device was disconnected.</translation>
    </message>
    <message id="NOTIFICATION_TIP_LOGIN_FAILED">
        <source>Sign-in failed. Check the password and try again.</source>
        <translation>Sign-in failed. Check the password and try again.</translation>
    </message>
    <message id="STRING_CANCEL">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="STRING_CHECKING">
        <source>Checking…</source>
        <translation>Checking…</translation>
    </message>
    <message id="STRING_CHECK_AGAIN">
        <source>Check again</source>
        <translation>Check again</translation>
    </message>
    <message id="STRING_CHECK_FAILED">
        <source>Could not check for updates.</source>
        <translation>Could not check for updates.</translation>
    </message>
    <message id="STRING_CLOSE">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="STRING_CURRENT_VERSION">
        <source>Current version</source>
        <translation>Current version</translation>
    </message>
    <message id="STRING_CURRENT_VERSION2">
        <source>Current version:</source>
        <translation>Current version:</translation>
    </message>
    <message id="STRING_DEVICE_DIAGNOSTIC_WARNING">
        <source>The device has detected an internal issue. Please contact support.</source>
        <translation>The device has detected an internal issue. Please contact support.</translation>
    </message>
    <message id="STRING_DOWNLOAD">
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message id="STRING_DOWNLOADING">
        <source>Downloading</source>
        <translation>Downloading</translation>
    </message>
    <message id="STRING_DOWNLOAD_FAILED">
        <source>The firmware download failed. Nothing was installed; try again.</source>
        <translation>The firmware download failed. Nothing was installed; try again.</translation>
    </message>
    <message id="STRING_FILE_VERSION">
        <source>File version:</source>
        <translation>File version:</translation>
    </message>
    <message id="STRING_INSTALLED">
        <source>Installed</source>
        <translation>Installed</translation>
    </message>
    <message id="STRING_INSTALLING">
        <source>Installing</source>
        <translation>Installing</translation>
    </message>
    <message id="STRING_LOCAL_UPDATE">
        <source>Update from local file</source>
        <translation>Update from local file</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_CONFIRM_TIP">
        <source>The device will restart during the update. Do not unplug it until the update has finished.</source>
        <translation>The device will restart during the update. Do not unplug it until the update has finished.</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_FAILED">
        <source>The operation failed.</source>
        <translation>The operation failed.</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_SUCCESS">
        <source>The firmware was updated successfully.</source>
        <translation>The firmware was updated successfully.</translation>
    </message>
    <message id="STRING_NEW_VERSION">
        <source>New version</source>
        <translation>New version</translation>
    </message>
    <message id="STRING_PRESS_TO_WAKEUP_REMOTE">
        <source>Press any button on the remote control to wake it up.</source>
        <translation>Press any button on the remote control to wake it up.</translation>
    </message>
    <message id="STRING_PROCESSING">
        <source>Processing...</source>
        <translation>Processing...</translation>
    </message>
    <message id="STRING_RESCUE_MODE">
        <source>Rescue Mode</source>
        <translation>Rescue Mode</translation>
    </message>
    <message id="STRING_SIGN_IN">
        <source>Sign In</source>
        <translation>Sign In</translation>
    </message>
    <message id="STRING_SUPPORT_SITE">
        <source>Zentaro Support</source>
        <translation>Zentaro Support</translation>
    </message>
    <message id="STRING_TOTAL">
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message id="STRING_UPDATE">
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message id="STRING_UPDATE_ALL">
        <source>Update All</source>
        <translation>Update All</translation>
    </message>
    <message id="STRING_UPDATE_FAILED_INCALL">
        <source>The firmware update failed: the device is in a call. Try again when the call has ended.</source>
        <translation>The firmware update failed: the device is in a call. Try again when the call has ended.</translation>
    </message>
    <message id="STRING_UPDATE_NOT_BACK">
        <source>The device restarted for its new firmware and did not come back.</source>
        <translation>The device restarted for its new firmware and did not come back.</translation>
    </message>
    <message id="STRING_UPDATE_NOT_CONFIRMED">
        <source>The device restarted, but its new firmware could not be confirmed.</source>
        <translation>The device restarted, but its new firmware could not be confirmed.</translation>
    </message>
    <message id="STRING_UPDATE_NOT_INSTALLED">
        <source>Update failed: the device restarted without the new firmware.</source>
        <translation>Update failed: the device restarted without the new firmware.</translation>
    </message>
    <message id="STRING_UPGRADE_APP_TIP">
        <source>A newer version of Zentaro Orvalinde is available. </source>
        <translation>A newer version of Zentaro Orvalinde is available. </translation>
    </message>
    <message id="STRING_UPGRADE_APP_TIP2">
        <source>Please update the application before updating device firmware: </source>
        <translation>Please update the application before updating device firmware: </translation>
    </message>
    <message id="STRING_UPGRADE_SIGN_IN_TIPS">
        <source>Enter the administrator password to update</source>
        <translation>Enter the administrator password to update</translation>
    </message>
    <message id="STRING_UP_TO_DATE">
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message id="STRING_VASKO_DFU_TIP">
        <source>Update failed. Reconnect the camera and try again.</source>
        <translation>Update failed. Reconnect the camera and try again.</translation>
    </message>
</context>
</TS>
