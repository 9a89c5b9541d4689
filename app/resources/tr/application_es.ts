<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Dispositivo no detectado</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Fuente HDMI no detectada</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Dispositivo en uso por otra aplicación</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Uso compartido en pausa</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Pausando</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Iniciando</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Compartiendo pantalla</translation>
    </message>
</context>
</TS>
