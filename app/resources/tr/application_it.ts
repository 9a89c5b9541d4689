<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell non rilevato</translation>
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
    <message>
        <source>Resume Sharing</source>
        <translation>Riprendi condivisione</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Sospendi condivisione</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Impostazioni</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Avvia all'accesso</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Ingrandisci durante la condivisione</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Porta in primo piano durante la condivisione</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Aggiorna firmware automaticamente</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notifiche</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Esci</translation>
    </message>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
</context>
</TS>
