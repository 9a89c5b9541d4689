<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell non détecté</translation>
    </message>
    <message>
        <source>Quendral Castwell - %1</source>
        <comment>window title with current state description</comment>
        <translation>Quendral Castwell - %1</translation>
    </message>
</context>
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
    <message>
        <source>Resume Sharing</source>
        <translation>Reprendre le partage</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Suspendre le partage</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Paramètres</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Lancer au démarrage</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Agrandir lors du partage</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Premier plan lors du partage</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Mise à jour automatique du micrologiciel</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notifications</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
</context>
</TS>
