<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Lab</name>
    <message id="STRING_CONVERSATION_MODE">
        <source>Conversation Mode</source>
        <translation>Conversation Mode</translation>
    </message>
    <message id="STRING_CONVERSATION_MODE_TIPS">
        <source>Conversation mode frames the people taking part in the conversation. It cannot be on while presenter mode is on.</source>
        <translation>Conversation mode frames the people taking part in the conversation. It cannot be on while presenter mode is on.</translation>
    </message>
    <message id="STRING_PRESENTER_MODE">
        <source>Presenter Mode</source>
        <translation>Presenter Mode</translation>
    </message>
    <message id="STRING_PRESENTER_MODE_TIPS">
        <source>Presenter mode keeps one presenter in the picture while they move around the room. It cannot be on while conversation mode is on.</source>
        <translation>Presenter mode keeps one presenter in the picture while they move around the room. It cannot be on while conversation mode is on.</translation>
    </message>
</context>
</TS>
