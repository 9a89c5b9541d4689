<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Device Not Detected</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>HDMI Source Not Detected</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Device in Use by Another Application</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Sharing Paused</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Pausing</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Sharing Screen</translation>
    </message>
</context>
</TS>
