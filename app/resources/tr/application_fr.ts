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
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>La mise à jour a été enregistrée sous %1. Installez-la avec : sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>L'installation de la version %1 a été annulée : le mot de passe administrateur n'a pas été saisi.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>L'installation de la version %1 n'a pas été autorisée.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>Le gestionnaire de paquets n'a pas pu installer la version %1 (code de sortie %2) :
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>Cette mise à jour n'est pas un paquet Debian et ne peut pas être installée ici. Elle a été enregistrée sous %1.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>L'installation nécessite %1, qui n'est pas disponible.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>Le programme d'installation n'a pas pu être lancé.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Seules les adresses web (http et https) sont autorisées, pas %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>Le serveur a annoncé plus de données qu'une mise à jour ne peut en contenir.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>Le serveur a mis trop de temps à répondre.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>Le serveur a redirigé la requête vers %1, qui n'est pas une adresse web.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>Le serveur a redirigé la requête vers une adresse non chiffrée, %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>Le serveur a envoyé plus de données qu'une mise à jour ne peut en contenir.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>La mise à jour n'a pas pu être enregistrée : %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>Le serveur a cessé d'envoyer des données.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>Les informations de mise à jour sont endommagées (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>Impossible de récupérer les informations de mise à jour. Êtes-vous connecté à Internet ? Veuillez réessayer plus tard.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Les notes de version n'ont pas pu être chargées.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>La mise à jour n'a pas pu être enregistrée dans le dossier temporaire %1.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>La mise à jour n'a pas pu être téléchargée : %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>La mise à jour téléchargée est incomplète ou endommagée (%1 octets au lieu de %2). Veuillez réessayer plus tard.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>La mise à jour n'est pas signée par l'éditeur de %1 ; elle n'a donc pas été installée.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Mise à jour du logiciel</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Recherche de mises à jour…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>Votre logiciel est à jour !</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Historique des versions</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Ignorer cette version</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Installer la mise à jour</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>En savoir plus…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Téléchargement de la mise à jour…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Erreur de mise à jour</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 est actuellement la version la plus récente.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>Une mise à jour critique de %1 est disponible !</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Une nouvelle version de %1 est disponible !</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 est maintenant disponible (vous avez la version %3). Pour en savoir plus, consultez sa page web.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 est maintenant disponible (vous avez la version %3). Voulez-vous l'installer maintenant ?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>Cette mise à jour est critique : veuillez l'installer.</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 sur %2 MB</translation>
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
