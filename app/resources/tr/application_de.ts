<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell nicht erkannt</translation>
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
    <message>
        <source>Resume Sharing</source>
        <translation>Freigabe fortsetzen</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Freigabe pausieren</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Beim Systemstart starten</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Bei Freigabe maximieren</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Bei Freigabe in den Vordergrund</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Firmware automatisch aktualisieren</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
</context>
<context>
    <name>AboutBox</name>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
    <message>
        <source>Castwell</source>
        <translation>Castwell</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>Neue Version verfügbar</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Firmware-Update installieren</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Produktsupport &amp;&amp; Fehlerbehebung</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Softwareversion: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Firmwareversion: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Gerät nicht erkannt</translation>
    </message>
    <message>
        <source>https://www.quendral.example/support/castwell</source>
        <comment>Support link</comment>
        <translation>https://www.quendral.example/support/castwell</translation>
    </message>
    <message>
        <source>:/quendral-logo-dark.svg</source>
        <translation>:/quendral-logo-dark.svg</translation>
    </message>
</context>
<context>
    <name>FWUpdateWindow</name>
    <message>
        <source>Firmware Update</source>
        <translation>Firmware-Update</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Firmware wird heruntergeladen...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Download der Firmware fehlgeschlagen. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>Die Signatur der heruntergeladenen Firmware ist ungültig, daher wurde sie nicht installiert.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>Das Firmware-Update wird installiert, sobald die Bildschirmfreigabe endet.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Firmware wird installiert...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Installation der Firmware fehlgeschlagen. Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>Firmware erfolgreich aktualisiert!</translation>
    </message>
</context>
</TS>
