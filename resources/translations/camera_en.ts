<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QOVACameraPages</name>
    <message id="STRING_OSD_DESCRIBE_VASKO">
        <source>Shows the camera's status messages on the picture it sends to your meeting.</source>
        <translation>Shows the camera's status messages on the picture it sends to your meeting.</translation>
    </message>
    <message id="STRING_OSD_DESCRIBE_HALVEX">
        <source>Shows the device's status messages on the video picture.</source>
        <translation>Shows the device's status messages on the video picture.</translation>
    </message>
    <message id="STRING_ON">
        <source>On</source>
        <translation>On</translation>
    </message>
    <message id="STRING_OFF">
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message id="STRING_CAMERA_TRACKING_MODE">
        <source>Tracking Mode</source>
        <translation>Tracking Mode</translation>
    </message>
    <message id="STRING_TRACKING_SPEED">
        <source>Tracking Speed</source>
        <translation>Tracking Speed</translation>
    </message>
    <message id="STRING_FRAMING_SIZE">
        <source>Framing Size</source>
        <translation>Framing Size</translation>
    </message>
    <message id="STRING_TRACKING_FRAME">
        <source>Tracking Frame</source>
        <translation>Tracking Frame</translation>
    </message>
    <message id="STRING_CAMERA_MOVEMENT">
        <source>Camera Movement</source>
        <translation>Camera Movement</translation>
    </message>
    <message id="STRING_FRAME_GROUP">
        <source>Group Framing</source>
        <translation>Group Framing</translation>
    </message>
    <message id="STRING_FRAME_SPEAKER">
        <source>Speaker Tracking</source>
        <translation>Speaker Tracking</translation>
    </message>
    <message id="STRING_NORMAL">
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message id="STRING_SLOW">
        <source>Slow</source>
        <translation>Slow</translation>
    </message>
    <message id="STRING_FAST">
        <source>Fast</source>
        <translation>Fast</translation>
    </message>
    <message id="STRING_MEDIUM">
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message id="STRING_TIGHT">
        <source>Tight</source>
        <translation>Tight</translation>
    </message>
    <message id="STRING_WIDE">
        <source>Wide</source>
        <translation>Wide</translation>
    </message>
    <message id="STRING_AUTO_PAN">
        <source>Smooth Pan</source>
        <translation>Smooth Pan</translation>
    </message>
    <message id="STRING_CUT">
        <source>Hard Cut</source>
        <translation>Hard Cut</translation>
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
    <message id="STRING_CAMERA_CONTROL">
        <source>Camera Control</source>
        <translation>Camera Control</translation>
    </message>
    <message id="STRING_TRACKING_ON">
        <source>Auto framing is on</source>
        <translation>Auto framing is on</translation>
    </message>
    <message id="STRING_TRACKING_OFF">
        <source>Auto framing is off</source>
        <translation>Auto framing is off</translation>
    </message>
    <message id="STRING_SKIN_ENHANCEMENT">
        <source>Skin Enhancement</source>
        <translation>Skin Enhancement</translation>
    </message>
    <message id="STRING_WIDE_DYNAMIC_RANGE">
        <source>Wide Dynamic Range</source>
        <translation>Wide Dynamic Range</translation>
    </message>
    <message id="STRING_PARTICIPANT_COUNT">
        <source>Participant Count</source>
        <translation>Participant Count</translation>
    </message>
    <message id="STRING_SELECT">
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message id="STRING_PRESET">
        <source>Preset</source>
        <translation>Preset</translation>
    </message>
    <message id="STRING_PRESET_SETTING">
        <source>Preset Selected</source>
        <translation>Preset Selected</translation>
    </message>
    <message id="STRING_PRESETS">
        <source>Presets</source>
        <translation>Presets</translation>
    </message>
    <message id="STRING_HOME">
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message id="STRING_CAMERA_ADVANCED_SETTINGS">
        <source>Advanced Camera Settings</source>
        <translation>Advanced Camera Settings</translation>
    </message>
    <message id="STRING_CAMERA_SETTINGS">
        <source>Camera Settings</source>
        <translation>Camera Settings</translation>
    </message>
    <message id="STRING_BRIGHTNESS">
        <source>Brightness</source>
        <translation>Brightness</translation>
    </message>
    <message id="STRING_CONTRAST">
        <source>Contrast</source>
        <translation>Contrast</translation>
    </message>
    <message id="STRING_HUM">
        <source>Hue</source>
        <translation>Hue</translation>
    </message>
    <message id="STRING_AUTO_HUM">
        <source>Auto Hue</source>
        <translation>Auto Hue</translation>
    </message>
    <message id="STRING_SATURATION">
        <source>Saturation</source>
        <translation>Saturation</translation>
    </message>
    <message id="STRING_SHARPNESS">
        <source>Sharpness</source>
        <translation>Sharpness</translation>
    </message>
    <message id="STRING_GAMMA">
        <source>Gamma</source>
        <translation>Gamma</translation>
    </message>
    <message id="STRING_WHITE_BALANCE_TEMP">
        <source>White Balance</source>
        <translation>White Balance</translation>
    </message>
    <message id="STRING_AUTO_WHITE_BALANCE_TEMP">
        <source>Auto White Balance</source>
        <translation>Auto White Balance</translation>
    </message>
    <message id="STRING_BACKLIGHT_COMP">
        <source>Backlight Compensation</source>
        <translation>Backlight Compensation</translation>
    </message>
    <message id="STRING_GAIN">
        <source>Gain</source>
        <translation>Gain</translation>
    </message>
    <message id="STRING_EXPOSURE_TIME_ABS">
        <source>Exposure</source>
        <translation>Exposure</translation>
    </message>
    <message id="STRING_AUTO_EXPOSURE_TIME_ABS">
        <source>Auto Exposure</source>
        <translation>Auto Exposure</translation>
    </message>
    <message id="STRING_POWERLINE_FREQUENCY">
        <source>Power Line Frequency</source>
        <translation>Power Line Frequency</translation>
    </message>
    <message id="STRING_DISABLE">
        <source>Disable</source>
        <translation>Disable</translation>
    </message>
    <message id="STRING_RESET">
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message id="STRING_CANCEL">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="Zentaro Orvalinde doesn't have permission to use the camera, please change privacy settings">
        <source>Zentaro Orvalinde doesn't have permission to use the camera. Please change the privacy settings.</source>
        <translation>Zentaro Orvalinde doesn't have permission to use the camera. Please change the privacy settings.</translation>
    </message>
    <message id="Settings">
        <source>Open Settings</source>
        <translation>Open Settings</translation>
    </message>
</context>
</TS>
