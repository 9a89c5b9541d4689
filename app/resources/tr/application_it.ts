<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Dispositivo non rilevato</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Sorgente HDMI non rilevata</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Dispositivo in uso da un'altra applicazione</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Condivisione in pausa</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Messa in pausa</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Avvio</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Condivisione dello schermo</translation>
    </message>
</context>
</TS>
