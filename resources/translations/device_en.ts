<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QOVADeviceInfoViewController</name>
    <message id="STRING_DEVICE_MODEL">
        <source>Device Model:</source>
        <translation>Device Model:</translation>
    </message>
    <message id="STRING_DEVICE_NAME">
        <source>Device Name:</source>
        <translation>Device Name:</translation>
    </message>
    <message id="STRING_HARDWARE_VERSION">
        <source>Hardware Version:</source>
        <translation>Hardware Version:</translation>
    </message>
    <message id="STRING_SOFTWARE_VERSION">
        <source>Software Version:</source>
        <translation>Software Version:</translation>
    </message>
    <message id="STRING_FIRMWARE_VERSION">
        <source>Firmware Version:</source>
        <translation>Firmware Version:</translation>
    </message>
    <message id="STRING_IP_ADDRESS">
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message id="STRING_MAC_ADDRESS">
        <source>MAC Address:</source>
        <translation>MAC Address:</translation>
    </message>
    <message id="STRING_SERIAL_NUMBER">
        <source>Serial Number:</source>
        <translation>Serial Number:</translation>
    </message>
    <message id="STRING_PROVISION_SERVER">
        <source>Provisioning Server:</source>
        <translation>Provisioning Server:</translation>
    </message>
    <message id="STRING_REFERENCE">
        <source>Reference:</source>
        <translation>Reference:</translation>
    </message>
    <message id="STRING_DEVICE_DIAGNOSTIC_CODE">
        <source>Diagnostic Code:</source>
        <translation>Diagnostic Code:</translation>
    </message>
    <message id="STRING_DISCONNECTED">
        <source>Disconnected</source>
        <translation>Disconnected</translation>
    </message>
    <message id="STRING_HELP">
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message id="STRING_DEVICE_DIAGNOSTIC_WARNING">
        <source>The device has detected an internal issue. Please contact support.</source>
        <translation>The device has detected an internal issue. Please contact support.</translation>
    </message>
    <message id="STRING_COUNTRY_AND_REGIONS">
        <source>Country/Region:</source>
        <translation>Country/Region:</translation>
    </message>
    <message id="STRING_REMOTE_CONTROL">
        <source>Remote Control</source>
        <translation>Remote Control</translation>
    </message>
    <message id="STRING_REMOTE_CONTROL_NAME">
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message id="STRING_STATUS_COLON">
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message id="STRING_DEVICE_TIME">
        <source>Device Time:</source>
        <translation>Device Time:</translation>
    </message>
    <message id="STRING_NETWORK_MODE">
        <source>Network Mode:</source>
        <translation>Network Mode:</translation>
    </message>
    <message id="STRING_POWER_STATUS">
        <source>Power:</source>
        <translation>Power:</translation>
    </message>
    <message id="STRING_USB_CONNECTION">
        <source>USB:</source>
        <translation>USB:</translation>
    </message>
    <message id="STRING_VASKO_CHARGE_WARNING_TIP">
        <source>The camera may not get enough power from this USB port.</source>
        <translation>The camera may not get enough power from this USB port.</translation>
    </message>
    <message id="STRING_VASKO_CHARGE_WARNING_SOLUTION1">
        <source>1. Connect the camera to a USB 3.0 port of the computer.</source>
        <translation>1. Connect the camera to a USB 3.0 port of the computer.</translation>
    </message>
    <message id="STRING_VASKO_CHARGE_WARNING_SOLUTION2">
        <source>2. Or power the camera through its power injector.</source>
        <translation>2. Or power the camera through its power injector.</translation>
    </message>
    <message id="STRING_CLOSE">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="STRING_SIGN_IN">
        <source>Sign In</source>
        <translation>Sign In</translation>
    </message>
    <message id="NOTIFICATION_TIP_LOGIN_FAILED">
        <source>Sign-in failed. Check the password and try again.</source>
        <translation>Sign-in failed. Check the password and try again.</translation>
    </message>
</context>
</TS>
