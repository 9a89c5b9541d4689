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
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>Das Update wurde als %1 gespeichert. Installieren Sie es mit: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>Die Installation der Version %1 wurde abgebrochen: Das Administratorpasswort wurde nicht eingegeben.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>Die Installation der Version %1 wurde nicht autorisiert.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>Der Paketmanager konnte die Version %1 nicht installieren (Exit-Status %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>Dieses Update ist kein Debian-Paket und kann hier nicht installiert werden. Es wurde als %1 gespeichert.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>Für die Installation wird %1 benötigt, ist aber nicht verfügbar.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>Das Installationsprogramm konnte nicht gestartet werden.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Nur Webadressen (http und https) sind zulässig, nicht %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>Der Server hat mehr Daten angekündigt, als ein Update umfassen darf.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>Der Server hat zu lange nicht geantwortet.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>Der Server hat die Anfrage an %1 weitergeleitet. Dies ist keine Webadresse.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>Der Server hat die Anfrage an eine unverschlüsselte Adresse weitergeleitet: %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>Der Server hat mehr Daten gesendet, als ein Update umfassen darf.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>Das Update konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>Der Server hat die Datenübertragung abgebrochen.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>Die Update-Informationen sind beschädigt (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>Die Update-Informationen konnten nicht abgerufen werden. Sind Sie mit dem Internet verbunden? Bitte versuchen Sie es später erneut.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Die Versionshinweise konnten nicht geladen werden.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>Das Update konnte nicht im temporären Ordner %1 gespeichert werden.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>Das Update konnte nicht heruntergeladen werden: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>Das heruntergeladene Update ist unvollständig oder beschädigt (%1 statt %2 Bytes). Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>Das Update ist nicht vom Hersteller von %1 signiert und wurde daher nicht installiert.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Software-Update</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Suche nach Updates…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>Sie sind auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Versionsverlauf</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Diese Version überspringen</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Später erinnern</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Update installieren</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>Mehr erfahren…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Update wird heruntergeladen…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Update-Fehler</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 ist derzeit die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>Ein kritisches Update für %1 ist verfügbar!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Eine neue Version von %1 ist verfügbar!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 ist jetzt verfügbar (Sie haben Version %3). Weitere Informationen finden Sie auf der zugehörigen Webseite.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 ist jetzt verfügbar (Sie haben Version %3). Möchten Sie das Update jetzt installieren?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>Dieses Update ist kritisch: Bitte installieren Sie es.</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 von %2 MB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name></name>
    <message>
        <source>HDMI Capture Viewer</source>
        <extracomment>menu entry: the kind of program</extracomment>
        <translation>Anzeige für HDMI-Aufnahmen</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Zeigt Bild und Ton, die das Kestal-USB-HDMI-Aufnahmegerät empfängt</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;Aufnahme;Bildschirm;Teilen;Video;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell ist die Desktop-Begleitanwendung des Kestal-USB-HDMI-Aufnahmegeräts. Schließen Sie einen Laptop, eine Kamera oder eine Spielkonsole an den HDMI-Eingang des Geräts an, und Castwell zeigt deren Bild im ganzen Fenster und gibt den Ton auf dem Computer wieder.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Findet das Gerät selbst und folgt dem Ein- und Ausstecken und dem HDMI-Kabel</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Sitzt im Infobereich der Kontrollleiste oder, auf Desktops ohne Infobereich, in einem eigenen Fenster</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Hält die Firmware des Geräts aktuell und aktualisiert sich selbst</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Das Bild der HDMI-Quelle wird geteilt</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Warten auf das Gerät auf einem Desktop ohne Infobereich</translation>
    </message>
</context>
</TS>
