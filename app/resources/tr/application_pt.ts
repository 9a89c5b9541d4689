<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Dispositivo não detectado</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Fonte HDMI não detectada</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Dispositivo em uso por outro aplicativo</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Compartilhamento pausado</translation>
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
        <translation>Compartilhando a tela</translation>
    </message>
</context>
</TS>
