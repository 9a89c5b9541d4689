<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Gerät nicht erkannt</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Keine HDMI-Quelle erkannt</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Gerät wird von einer anderen Anwendung verwendet</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Freigabe pausiert</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Wird pausiert</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Wird gestartet</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Bildschirm wird geteilt</translation>
    </message>
</context>
</TS>
