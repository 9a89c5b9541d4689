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
        <translation>Nouvelle version disponible</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Appliquer la mise à jour du micrologiciel</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Assistance produit &amp;&amp; dépannage</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Version du logiciel : %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Version du micrologiciel : %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Appareil non détecté</translation>
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
        <translation>Mise à jour du micrologiciel</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Téléchargement du micrologiciel...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Échec du téléchargement du micrologiciel. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>La signature du micrologiciel téléchargé n'est pas valide ; il n'a donc pas été installé.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>La mise à jour du micrologiciel sera installée à la fin du partage de l'écran.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Installation du micrologiciel...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Échec de l'installation du micrologiciel. Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>Micrologiciel mis à jour avec succès !</translation>
    </message>
</context>
<context>
    <name></name>
    <message>
        <source>HDMI Capture Viewer</source>
        <extracomment>menu entry: the kind of program</extracomment>
        <translation>Visionneuse de capture HDMI</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Affiche et fait entendre ce que reçoit l'appareil de capture HDMI USB Kestal</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;capture;écran;partage;vidéo;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell est l'application de bureau qui accompagne l'appareil de capture HDMI USB Kestal. Branchez un ordinateur portable, une caméra ou une console de jeu sur l'entrée HDMI de l'appareil, et Castwell affiche son image dans toute la fenêtre et diffuse son son sur l'ordinateur.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Trouve l'appareil tout seul et suit son branchement, son débranchement et le câble HDMI</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Réside dans la zone de notification, ou dans sa propre fenêtre sur les bureaux qui n'en ont pas</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Maintient à jour le micrologiciel de l'appareil et se met à jour lui-même</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Partage de l'image de la source HDMI</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>En attente de l'appareil sur un bureau sans zone de notification</translation>
    </message>
</context>
</TS>
