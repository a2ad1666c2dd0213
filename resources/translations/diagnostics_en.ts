<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Diagnostics</name>
    <message id="NOTIFICATION_GET_DIAGNOSTICS_FILE_FAILED">
        <source>Failed to save the audio test file.</source>
        <translation>Failed to save the audio test file.</translation>
    </message>
    <message id="STRING_AUDIO_DIAGNOSTICS_DESCRIPTION">
        <source>Record a diagnostic audio test of up to three minutes on the device and save the recording on this computer. Speak or play sound near the device while it records.</source>
        <translation>Record a diagnostic audio test of up to three minutes on the device and save the recording on this computer. Speak or play sound near the device while it records.</translation>
    </message>
    <message id="STRING_AUDIO_METERS_TIP">
        <source>The input level of the device's microphone, per channel.</source>
        <translation>The input level of the device's microphone, per channel.</translation>
    </message>
    <message id="STRING_AUDIO_METER_TEST">
        <source>Audio Test</source>
        <translation>Audio Test</translation>
    </message>
    <message id="STRING_AUDIO_TEST_DESCRIPTION">
        <source>The device is recording. The test ends after three minutes, or press Stop to end it sooner.</source>
        <translation>The device is recording. The test ends after three minutes, or press Stop to end it sooner.</translation>
    </message>
    <message id="STRING_AUDIO_TEST_PACKING">
        <source>The recording has ended. The device is packing the test file.</source>
        <translation>The recording has ended. The device is packing the test file.</translation>
    </message>
    <message id="STRING_LEFT">
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message id="STRING_PACKING">
        <source>Packing</source>
        <translation>Packing</translation>
    </message>
    <message id="STRING_RECORDING">
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message id="STRING_RIGHT">
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message id="STRING_START_TEST">
        <source>Start Test</source>
        <translation>Start Test</translation>
    </message>
    <message id="STRING_STOP">
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
</context>
</TS>
