<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="STRING_MENU_APP">
        <source>Orvalinde</source>
        <translation>Orvalinde</translation>
    </message>
    <message id="STRING_ABOUT_ORVALINDE">
        <source>About Zentaro Orvalinde</source>
        <translation>About Zentaro Orvalinde</translation>
    </message>
    <message id="STRING_MENU_QUIT">
        <source>Quit Zentaro Orvalinde</source>
        <translation>Quit Zentaro Orvalinde</translation>
    </message>
    <message id="STRING_MENU_HELP">
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message id="STRING_SEND_LOG">
        <source>Send Logs to Zentaro Support…</source>
        <translation>Send Logs to Zentaro Support…</translation>
    </message>
    <message id="STRING_LOG_COLLECTOR_STARTED">
        <source>The log collector has started.</source>
        <translation>The log collector has started.</translation>
    </message>
    <message id="STRING_LOG_COLLECTOR_MISSING">
        <source>Logs cannot be sent: the log collector is not installed.</source>
        <translation>Logs cannot be sent: the log collector is not installed.</translation>
    </message>
    <message id="STRING_LOG_COLLECTOR_FAILED">
        <source>Logs cannot be sent: the log collector did not start.</source>
        <translation>Logs cannot be sent: the log collector did not start.</translation>
    </message>
    <message id="STRING_MENU_HELP_ITEM">
        <source>Zentaro Orvalinde Help</source>
        <translation>Zentaro Orvalinde Help</translation>
    </message>
    <message id="STRING_OPEN_LINK_FAILED">
        <source>No web browser could open %1</source>
        <translation>No web browser could open %1</translation>
    </message>
    <message id="STRING_DEVICE_SETTINGS">
        <source>Device Settings</source>
        <translation>Device Settings</translation>
    </message>
    <message id="STRING_FIRMWARE_UPDATE">
        <source>Firmware Update</source>
        <translation>Firmware Update</translation>
    </message>
    <message id="STRING_CONNECT_USB_DEVICES">
        <source>Connect a Zentaro USB device</source>
        <translation>Connect a Zentaro USB device</translation>
    </message>
    <message id="STRING_CONNECT_USB_DEVICES_DESC">
        <source>Plug your video bar or camera into a USB port of this computer. It will appear here.</source>
        <translation>Plug your video bar or camera into a USB port of this computer. It will appear here.</translation>
    </message>
    <message id="STRING_RECOVER_OR_UPDATE_FIRST">
        <source>Recovery mode: update the firmware first</source>
        <translation>Recovery mode: update the firmware first</translation>
    </message>
    <message id="STRING_UPDATING">
        <source>Updating</source>
        <translation>Updating</translation>
    </message>
    <message id="STRING_WARNING">
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message id="STRING_SFB_WARNING">
        <source>Skype for Business is running and holds your Zentaro devices, so Orvalinde cannot reach them.</source>
        <translation>Skype for Business is running and holds your Zentaro devices, so Orvalinde cannot reach them.</translation>
    </message>
    <message id="STRING_SFB_WARNING_TIP">
        <source>Quit Skype for Business to let Orvalinde manage your devices, or quit Orvalinde and keep using Skype for Business.</source>
        <translation>Quit Skype for Business to let Orvalinde manage your devices, or quit Orvalinde and keep using Skype for Business.</translation>
    </message>
    <message id="STRING_CLOSE_SFB">
        <source>Quit Skype for Business</source>
        <translation>Quit Skype for Business</translation>
    </message>
    <message id="STRING_CLOSE_ORVALINDE">
        <source>Quit Zentaro Orvalinde</source>
        <translation>Quit Zentaro Orvalinde</translation>
    </message>
    <message id="STRING_PASSWORD">
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message id="STRING_UPDATE_FAILED">
        <source>The firmware update failed.</source>
        <translation>The firmware update failed.</translation>
    </message>
    <message id="STRING_UPDATE_FAILED_INCALL">
        <source>The firmware update failed: the device is in a call. Try again when the call has ended.</source>
        <translation>The firmware update failed: the device is in a call. Try again when the call has ended.</translation>
    </message>
</context>
</TS>
