<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Maintenance</name>
    <message id="STRING_ADMIN_SIGN_IN">
        <source>Administrator Sign In</source>
        <translation>Administrator Sign In</translation>
    </message>
    <message id="STRING_CLICK_TO_RESTART">
        <source>Click Restart to restart the device. It is unavailable for about a minute and reconnects on its own.</source>
        <translation>Click Restart to restart the device. It is unavailable for about a minute and reconnects on its own.</translation>
    </message>
    <message id="STRING_RESTART_DEVICE">
        <source>Power the Camera</source>
        <translation>Power the Camera</translation>
    </message>
    <message id="STRING_VASKO_USB_INJECTOR">
        <source>When the camera's USB port cannot supply enough power, connect it through a USB power injector, then restart the camera.</source>
        <translation>When the camera's USB port cannot supply enough power, connect it through a USB power injector, then restart the camera.</translation>
    </message>
    <message id="STRING_EXPORT_CONFIGURATION_TIP">
        <source>Save the device's configuration to an XML file on this computer.</source>
        <translation>Save the device's configuration to an XML file on this computer.</translation>
    </message>
    <message id="STRING_EXPORT_TO_LOCAL_FILE">
        <source>Export to File</source>
        <translation>Export to File</translation>
    </message>
    <message id="STRING_IMPORT_CONFIGURATION_TIP">
        <source>Load a configuration file saved from a device of the same kind into this device.</source>
        <translation>Load a configuration file saved from a device of the same kind into this device.</translation>
    </message>
    <message id="STRING_IMPORT_FROM_LOCAL_FILE">
        <source>Import from File</source>
        <translation>Import from File</translation>
    </message>
    <message id="STRING_DOWNLOAD_LOG">
        <source>Save the device's system log as an archive on this computer.</source>
        <translation>Save the device's system log as an archive on this computer.</translation>
    </message>
    <message id="STRING_CRASH_FILES">
        <source>Crash Files</source>
        <translation>Crash Files</translation>
    </message>
    <message id="STRING_DOWNLOAD_COREDUMP_LOG">
        <source>Save the files the device kept after a crash.</source>
        <translation>Save the files the device kept after a crash.</translation>
    </message>
    <message id="STRING_COLLECT_LOGS">
        <source>Collecting Logs</source>
        <translation>Collecting Logs</translation>
    </message>
    <message id="STRING_COLLECT_LOGS_TIPS">
        <source>The device is gathering its logs. This can take up to a minute.</source>
        <translation>The device is gathering its logs. This can take up to a minute.</translation>
    </message>
</context>
</TS>
