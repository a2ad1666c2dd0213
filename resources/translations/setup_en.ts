<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>setup</name>
    <message id="ZENTARO_HALVEX">
        <source>Zentaro Halvex</source>
        <translation>Zentaro Halvex</translation>
    </message>
    <message id="BUTTON_ITEM_BACK">
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message id="BUTTON_ITEM_SKIP">
        <source>Skip</source>
        <translation>Skip</translation>
    </message>
    <message id="BUTTON_ITEM_NEXT">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="BUTTON_ITEM_FINISH">
        <source>Finish</source>
        <translation>Finish</translation>
    </message>
    <message id="BUTTON_ITEM_CONFIRM">
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message id="OOB_COUNTRY">
        <source>Country</source>
        <translation>Country</translation>
    </message>
    <message id="OOB_DEVICE_NAME">
        <source>Device Name</source>
        <translation>Device Name</translation>
    </message>
    <message id="OOB_WIFI">
        <source>Wi-Fi</source>
        <translation>Wi-Fi</translation>
    </message>
    <message id="STRING_NETWORK">
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message id="OOB_PROVISIONING">
        <source>Provisioning</source>
        <translation>Provisioning</translation>
    </message>
    <message id="OOB_COMPLETE">
        <source>Complete</source>
        <translation>Complete</translation>
    </message>
    <message id="STRING_USERNAME">
        <source>Username</source>
        <translation>Username</translation>
    </message>
    <message id="STRING_SIGN_IN">
        <source>Sign In</source>
        <translation>Sign In</translation>
    </message>
    <message id="OOB_SIGN_IN_TIP">
        <source>By signing in you accept the licence terms of the device software, which you can read at </source>
        <translation>By signing in you accept the licence terms of the device software, which you can read at </translation>
    </message>
    <message id="OOB_ACCEPT_EULA">
        <source>I accept the licence terms</source>
        <translation>I accept the licence terms</translation>
    </message>
    <message id="OOB_COMPLETE_TIP">
        <source>Your video bar is set up and ready to use.</source>
        <translation>Your video bar is set up and ready to use.</translation>
    </message>
    <message id="OOB_COMPLETE_TIP_VASKO">
        <source>Your camera is set up and ready to use.</source>
        <translation>Your camera is set up and ready to use.</translation>
    </message>
    <message id="OOB_CHANGE_PASSWORD">
        <source>Change the Admin Password</source>
        <translation>Change the Admin Password</translation>
    </message>
    <message id="STRING_CURRENT_PASSWORD">
        <source>Current Password</source>
        <translation>Current Password</translation>
    </message>
    <message id="STRING_NEW_PASSWORD">
        <source>New Password</source>
        <translation>New Password</translation>
    </message>
    <message id="STRING_CONFIRM_PASSWORD">
        <source>Confirm Password</source>
        <translation>Confirm Password</translation>
    </message>
    <message id="STRING_NEW_PASSWORD_RULE">
        <source>The password needs 8 to 32 characters with at least one upper-case letter, one lower-case letter and one digit.</source>
        <translation>The password needs 8 to 32 characters with at least one upper-case letter, one lower-case letter and one digit.</translation>
    </message>
    <message id="STRING_SIMPLE_PASSWORD">
        <source>Allow a simple password</source>
        <translation>Allow a simple password</translation>
    </message>
    <message id="NOTIFICATION_TIP_CONFIRM_PWD_ERROR">
        <source>The new passwords do not match.</source>
        <translation>The new passwords do not match.</translation>
    </message>
    <message id="NOTIFICATION_TIP_OLD_PWD_ERROR">
        <source>The current password is wrong.</source>
        <translation>The current password is wrong.</translation>
    </message>
    <message id="NOTIFICATION_TIP_NEW_PWD_ERROR">
        <source>The new password was refused.</source>
        <translation>The new password was refused.</translation>
    </message>
    <message id="OOB_SELECT_COUNTRY">
        <source>Select Your Country or Region</source>
        <translation>Select Your Country or Region</translation>
    </message>
    <message id="OOB_CHANGE_DEVICE_NAME">
        <source>Name Your Device</source>
        <translation>Name Your Device</translation>
    </message>
    <message id="OOB_CHANGE_DEVICE_NAME_TIP">
        <source>Other people see this name when they look for the device.</source>
        <translation>Other people see this name when they look for the device.</translation>
    </message>
    <message id="STRING_NAME_RULE">
        <source>Name Rules</source>
        <translation>Name Rules</translation>
    </message>
    <message id="STRING_DEVICE_INVALID">
        <source>The device name is not valid.</source>
        <translation>The device name is not valid.</translation>
    </message>
    <message id="STRING_TIP_VASKO_NAME_RULE_1">
        <source>1. The name is 1 to 63 characters long.</source>
        <translation>1. The name is 1 to 63 characters long.</translation>
    </message>
    <message id="STRING_TIP_VASKO_NAME_RULE_2">
        <source>2. It uses only letters, digits, spaces and hyphens (-).</source>
        <translation>2. It uses only letters, digits, spaces and hyphens (-).</translation>
    </message>
    <message id="STRING_TIP_VASKO_NAME_RULE_3">
        <source>3. It begins with a letter or a digit.</source>
        <translation>3. It begins with a letter or a digit.</translation>
    </message>
    <message id="STRING_TIP_VASKO_NAME_RULE_4">
        <source>4. It does not end with a space or a hyphen.</source>
        <translation>4. It does not end with a space or a hyphen.</translation>
    </message>
    <message id="STRING_TIP_VASKO_NAME_RULE_5">
        <source>5. Other characters, such as . _ / @ or #, are not allowed.</source>
        <translation>5. Other characters, such as . _ / @ or #, are not allowed.</translation>
    </message>
    <message id="STRING_CLOSE">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="OOB_PROVISIONING_SETTINGS">
        <source>Provisioning Settings</source>
        <translation>Provisioning Settings</translation>
    </message>
    <message id="STRING_PROVISIONING_MODE">
        <source>Provisioning Mode</source>
        <translation>Provisioning Mode</translation>
    </message>
    <message id="STRING_SERVER_TYPE">
        <source>Server Type</source>
        <translation>Server Type</translation>
    </message>
    <message id="STRING_ZENTARO_PROVISION_SERVER">
        <source>Zentaro Provisioning Server</source>
        <translation>Zentaro Provisioning Server</translation>
    </message>
    <message id="STRING_HTTPS_SERVER">
        <source>HTTPS Server</source>
        <translation>HTTPS Server</translation>
    </message>
    <message id="STRING_FTPS_SERVER">
        <source>FTPS Server</source>
        <translation>FTPS Server</translation>
    </message>
    <message id="STRING_SERVER_ADDRESS">
        <source>Server Address</source>
        <translation>Server Address</translation>
    </message>
    <message id="STRING_DOMAIN_USERNAME">
        <source>domain\username</source>
        <translation>domain\username</translation>
    </message>
    <message id="STRING_DHCP_OPTION">
        <source>DHCP Option</source>
        <translation>DHCP Option</translation>
    </message>
    <message id="STRING_DHCP_RANGE">
        <source>Range: 140-207</source>
        <translation>Range: 140-207</translation>
    </message>
    <message id="STRING_AUTO">
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message id="STRING_MANUAL">
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message id="STRING_DISABLE">
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message id="STRING_SAVE">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="NOTIFICATION_TIP_SAVE_SUCCESSED">
        <source>Saved successfully.</source>
        <translation>Saved successfully.</translation>
    </message>
    <message id="NOTIFICATION_TIP_SAVE_FAILED">
        <source>Saving failed.</source>
        <translation>Saving failed.</translation>
    </message>
    <message id="OOB_SELECT_WIFI">
        <source>Connect to Wi-Fi</source>
        <translation>Connect to Wi-Fi</translation>
    </message>
    <message id="STRING_SET_NETWORK">
        <source>Set up the network</source>
        <translation>Set up the network</translation>
    </message>
    <message id="STRING_NETWORK2">
        <source>Network</source>
        <translation>Network</translation>
    </message>
</context>
</TS>
