<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>Appareil non détecté</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Source HDMI non détectée</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Appareil utilisé par une autre application</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Partage en pause</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Mise en pause</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Démarrage</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Partage de l'écran</translation>
    </message>
</context>
</TS>
