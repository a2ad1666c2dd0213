<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Settings</name>
    <message id="NOTIFICATION_COLLECT_LOG_ERROR">
        <source>Failed to save the logs.</source>
        <translation>Failed to save the logs.</translation>
    </message>
    <message id="NOTIFICATION_COLLECT_LOG_SUCCESSED">
        <source>Logs saved.</source>
        <translation>Logs saved.</translation>
    </message>
    <message id="NOTIFICATION_COLLECT_LOG_WARNING">
        <source>The device has no crash files.</source>
        <translation>The device has no crash files.</translation>
    </message>
    <message id="NOTIFICATION_EXPORT_CONFIG_ERROR">
        <source>Failed to export the configuration.</source>
        <translation>Failed to export the configuration.</translation>
    </message>
    <message id="NOTIFICATION_GET_DIAGNOSTICS_FILE">
        <source>Failed to get the audio test file.</source>
        <translation>Failed to get the audio test file.</translation>
    </message>
    <message id="NOTIFICATION_IMPORT_CONFIG_ERROR">
        <source>Failed to import the configuration.</source>
        <translation>Failed to import the configuration.</translation>
    </message>
    <message id="NOTIFICATION_IMPORT_CONFIG_SUCCESSED">
        <source>Configuration imported.</source>
        <translation>Configuration imported.</translation>
    </message>
    <message id="NOTIFICATION_TIP_READ_FAILED">
        <source>Could not read the settings from the device.</source>
        <translation>Could not read the settings from the device.</translation>
    </message>
    <message id="NOTIFICATION_REQUEST_REJECTED">
        <source>The device rejected the request.</source>
        <translation>The device rejected the request.</translation>
    </message>
    <message id="NOTIFICATION_TIP_NEW_PWD_ERROR">
        <source>The new password was refused.</source>
        <translation>The new password was refused.</translation>
    </message>
    <message id="NOTIFICATION_TIP_OLD_PWD_ERROR">
        <source>The current password is wrong.</source>
        <translation>The current password is wrong.</translation>
    </message>
    <message id="NOTIFICATION_TIP_SAVE_FAILED">
        <source>Saving failed.</source>
        <translation>Saving failed.</translation>
    </message>
    <message id="NOTIFICATION_TIP_SAVE_SUCCESSED">
        <source>Saved successfully.</source>
        <translation>Saved successfully.</translation>
    </message>
    <message id="STRING_APPLY">
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message id="STRING_AUDIO_TEST_DOWNLOADING">
        <source>The audio test recording is being transferred from the device. This may take a moment.</source>
        <translation>The audio test recording is being transferred from the device. This may take a moment.</translation>
    </message>
    <message id="STRING_AUTO">
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message id="STRING_AUTO_CONNECT">
        <source>Connect automatically</source>
        <translation>Connect automatically</translation>
    </message>
    <message id="STRING_BASS">
        <source>Bass Boost:</source>
        <translation>Bass Boost:</translation>
    </message>
    <message id="STRING_BLUETOOTH_PAIR_MODE">
        <source>Bluetooth Pair Mode</source>
        <translation>Bluetooth Pair Mode</translation>
    </message>
    <message id="STRING_BLUETOOTH_PAIR_TIPS">
        <source>Press Start Pair, then hold the pair key of the remote control until its light blinks.</source>
        <translation>Press Start Pair, then hold the pair key of the remote control until its light blinks.</translation>
    </message>
    <message id="STRING_BLUETOOTH_STATUS">
        <source>Bluetooth:</source>
        <translation>Bluetooth:</translation>
    </message>
    <message id="STRING_CAMERA_VIVID_MODE">
        <source>Camera Vivid Mode:</source>
        <translation>Camera Vivid Mode:</translation>
    </message>
    <message id="STRING_CANCEL">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="STRING_CHOOSE_FILE">
        <source>Choose File</source>
        <translation>Choose File</translation>
    </message>
    <message id="STRING_CLICK_TO_RESET">
        <source>Reset the device to its factory settings. All settings, saved networks and certificates are erased and the device restarts.</source>
        <translation>Reset the device to its factory settings. All settings, saved networks and certificates are erased and the device restarts.</translation>
    </message>
    <message id="STRING_DEVICE_INVALID">
        <source>The device name is not valid.</source>
        <translation>The device name is not valid.</translation>
    </message>
    <message id="STRING_DEVICE_NAME">
        <source>Device Name:</source>
        <translation>Device Name:</translation>
    </message>
    <message id="STRING_ENABLE_MICROPHONE">
        <source>Microphones</source>
        <translation>Microphones</translation>
    </message>
    <message id="STRING_ENABLE_STEREO_AUDIO">
        <source>Stereo Audio</source>
        <translation>Stereo Audio</translation>
    </message>
    <message id="STRING_INTERGRATED_MICROPHONES">
        <source>Built-in Microphones:</source>
        <translation>Built-in Microphones:</translation>
    </message>
    <message id="STRING_MANUAL">
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_FILE_CHECK_FAILED">
        <source>This file is not a rescue image for this camera.</source>
        <translation>This file is not a rescue image for this camera.</translation>
    </message>
    <message id="STRING_MANUAL_UPDATE_TIP">
        <source>If the camera no longer starts normally, choose a rescue image to update it.</source>
        <translation>If the camera no longer starts normally, choose a rescue image to update it.</translation>
    </message>
    <message id="STRING_MEDIUM">
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message id="STRING_NAME_RULE">
        <source>Name Rules</source>
        <translation>Name Rules</translation>
    </message>
    <message id="STRING_NARROW">
        <source>Narrow</source>
        <translation>Narrow</translation>
    </message>
    <message id="STRING_NTP_MODE">
        <source>Time Server Mode:</source>
        <translation>Time Server Mode:</translation>
    </message>
    <message id="STRING_NTP_SERVER">
        <source>Time Server:</source>
        <translation>Time Server:</translation>
    </message>
    <message id="STRING_OFF">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="STRING_ON">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="STRING_QUELVAR">
        <source>Quelvar:</source>
        <translation>Quelvar:</translation>
    </message>
    <message id="STRING_REMOTE_CONTROL_CONNECTION">
        <source>Remote Control Connection</source>
        <translation>Remote Control Connection</translation>
    </message>
    <message id="STRING_REMOTE_CONTROL_TIPS">
        <source>The remote control connects to the device over Bluetooth Low Energy. Turn the connection off to ignore the remote control.</source>
        <translation>The remote control connects to the device over Bluetooth Low Energy. Turn the connection off to ignore the remote control.</translation>
    </message>
    <message id="STRING_RESCUE_MODE">
        <source>Rescue Mode</source>
        <translation>Rescue Mode</translation>
    </message>
    <message id="STRING_RESET">
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message id="STRING_RESET_TIP_DESCRIPTION">
        <source>All settings of the device will be erased and the device will restart. Do you want to continue?</source>
        <translation>All settings of the device will be erased and the device will restart. Do you want to continue?</translation>
    </message>
    <message id="STRING_RESTART">
        <source>Restart</source>
        <translation>Restart</translation>
    </message>
    <message id="STRING_RESTART_DEVICE_DESCRIPTION">
        <source>The change takes effect after the device restarts. Restart the device now?</source>
        <translation>The change takes effect after the device restarts. Restart the device now?</translation>
    </message>
    <message id="STRING_RESTART_LATER">
        <source>Restart Later</source>
        <translation>Restart Later</translation>
    </message>
    <message id="STRING_RESTART_NOW">
        <source>Restart Now</source>
        <translation>Restart Now</translation>
    </message>
    <message id="STRING_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="STRING_SENDING_LOGS">
        <source>Receiving the file</source>
        <translation>Receiving the file</translation>
    </message>
    <message id="STRING_START_PAIR">
        <source>Start Pair</source>
        <translation>Start Pair</translation>
    </message>
    <message id="STRING_STEREO">
        <source>Stereo:</source>
        <translation>Stereo:</translation>
    </message>
    <message id="STRING_STEREO_AUDIO">
        <source>Stereo Audio:</source>
        <translation>Stereo Audio:</translation>
    </message>
    <message id="STRING_STEREO_SFB">
        <source>Client Stereo:</source>
        <translation>Client Stereo:</translation>
    </message>
    <message id="STRING_TARNWALL">
        <source>Tarnwall:</source>
        <translation>Tarnwall:</translation>
    </message>
    <message id="STRING_VASKO_COMPATIBLE_MODE">
        <source>Compatible Mode:</source>
        <translation>Compatible Mode:</translation>
    </message>
    <message id="STRING_VASKO_COMPATIBLE_MODE_TIP">
        <source>Turn compatible mode on when the camera is used with conferencing software or computers that do not recognise its video formats.</source>
        <translation>Turn compatible mode on when the camera is used with conferencing software or computers that do not recognise its video formats.</translation>
    </message>
    <message id="STRING_VASKO_COMPATIBLE_MODE_TITLE">
        <source>Miscellaneous</source>
        <translation>Miscellaneous</translation>
    </message>
    <message id="STRING_WIDE">
        <source>Wide</source>
        <translation>Wide</translation>
    </message>
</context>
</TS>
