<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QOVATabControlView</name>
    <message id="STRING_STATUS">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="STRING_USER_SETTINGS">
        <source>User Settings</source>
        <translation>User Settings</translation>
    </message>
    <message id="STRING_ADMIN_SETTINGS">
        <source>Admin Settings</source>
        <translation>Admin Settings</translation>
    </message>
    <message id="STRING_DIAGNOSTICS">
        <source>Diagnostics</source>
        <translation>Diagnostics</translation>
    </message>
    <message id="STRING_CAMERA_CONTROL">
        <source>Camera Control</source>
        <translation>Camera Control</translation>
    </message>
    <message id="STRING_BLUETOOTH_MODE">
        <source>Bluetooth Mode</source>
        <translation>Bluetooth Mode</translation>
    </message>
    <message id="STRING_AUDIO_SETTINGS">
        <source>Audio Settings</source>
        <translation>Audio Settings</translation>
    </message>
    <message id="STRING_AUDIO_TEST">
        <source>Audio Test</source>
        <translation>Audio Test</translation>
    </message>
    <message id="STRING_OSD">
        <source>On-Screen Display</source>
        <translation>On-Screen Display</translation>
    </message>
    <message id="STRING_LOGS">
        <source>Logs</source>
        <translation>Logs</translation>
    </message>
    <message id="STRING_AUDIO_METERS">
        <source>Audio Meters</source>
        <translation>Audio Meters</translation>
    </message>
    <message id="STRING_GENERAL_SETTINGS">
        <source>General Settings</source>
        <translation>General Settings</translation>
    </message>
    <message id="STRING_CAMERA_TRACKING">
        <source>Camera Tracking</source>
        <translation>Camera Tracking</translation>
    </message>
    <message id="STRING_WIFI_SETTINGS">
        <source>Wi-Fi Settings</source>
        <translation>Wi-Fi Settings</translation>
    </message>
    <message id="STRING_NETWORK_SETTINGS">
        <source>Network Settings</source>
        <translation>Network Settings</translation>
    </message>
    <message id="STRING_BLUETOOTH">
        <source>Bluetooth</source>
        <translation>Bluetooth</translation>
    </message>
    <message id="STRING_PASSWORD_SETTINGS">
        <source>Password Settings</source>
        <translation>Password Settings</translation>
    </message>
    <message id="STRING_PROVISIONING_SERVER">
        <source>Provisioning Server</source>
        <translation>Provisioning Server</translation>
    </message>
    <message id="STRING_CERTIFICATES">
        <source>Certificates</source>
        <translation>Certificates</translation>
    </message>
    <message id="STRING_SYSTEM_RESTART">
        <source>System Restart</source>
        <translation>System Restart</translation>
    </message>
    <message id="STRING_FACTORY_RESET">
        <source>Factory Reset</source>
        <translation>Factory Reset</translation>
    </message>
    <message id="STRING_CONFIGURATION">
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message id="STRING_LAB_FEATURE">
        <source>Lab Features</source>
        <translation>Lab Features</translation>
    </message>
    <message id="STRING_MISCELLANEOUS">
        <source>Miscellaneous</source>
        <translation>Miscellaneous</translation>
    </message>
</context>
</TS>
