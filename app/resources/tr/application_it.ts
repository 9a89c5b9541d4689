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
        <translation>Nuova versione disponibile</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Applica aggiornamento firmware</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Assistenza prodotto &amp;&amp; risoluzione dei problemi</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Versione software: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Versione firmware: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Dispositivo non rilevato</translation>
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
        <translation>Aggiornamento firmware</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Download del firmware in corso...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Download del firmware non riuscito. Riprova più tardi.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>La firma del firmware scaricato non è valida, quindi non è stato installato.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>L'aggiornamento del firmware verrà installato al termine della condivisione dello schermo.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Installazione del firmware in corso...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Installazione del firmware non riuscita. Riprova più tardi.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>Firmware aggiornato correttamente!</translation>
    </message>
</context>
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>L'aggiornamento è stato salvato come %1. Installalo con: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>L'installazione della versione %1 è stata annullata: la password dell'amministratore non è stata inserita.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>L'installazione della versione %1 non è stata autorizzata.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>Il gestore dei pacchetti non è riuscito a installare la versione %1 (codice di uscita %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>Questo aggiornamento non è un pacchetto Debian e non può essere installato qui. È stato salvato come %1.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>Per l'installazione è necessario %1, che non è disponibile.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>Impossibile avviare il programma di installazione.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Sono consentiti solo indirizzi web (http e https), non %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>Il server ha annunciato più dati di quanti ne possa contenere un aggiornamento.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>Il server ha impiegato troppo tempo a rispondere.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>Il server ha reindirizzato la richiesta a %1, che non è un indirizzo web.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>Il server ha reindirizzato la richiesta a un indirizzo non crittografato, %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>Il server ha inviato più dati di quanti ne possa contenere un aggiornamento.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>Impossibile salvare l'aggiornamento: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>Il server ha smesso di inviare dati.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>Le informazioni sull'aggiornamento sono danneggiate (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>Impossibile recuperare le informazioni sugli aggiornamenti. Sei connesso a Internet? Riprova più tardi.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Impossibile caricare le note di rilascio.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>Impossibile salvare l'aggiornamento nella cartella temporanea %1.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>Impossibile scaricare l'aggiornamento: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>L'aggiornamento scaricato è incompleto o danneggiato (%1 byte anziché %2). Riprova più tardi.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>L'aggiornamento non è firmato dal produttore di %1, quindi non è stato installato.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Aggiornamento software</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Ricerca di aggiornamenti in corso…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>Hai già la versione più recente!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Cronologia versioni</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Salta questa versione</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Ricordamelo più tardi</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Installa aggiornamento</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>Scopri di più…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Download dell'aggiornamento in corso…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Errore di aggiornamento</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 è attualmente la versione più recente disponibile.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>È disponibile un aggiornamento critico di %1!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>È disponibile una nuova versione di %1!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 è ora disponibile (hai la versione %3). Scopri di più nella relativa pagina web.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 è ora disponibile (hai la versione %3). Vuoi installare l'aggiornamento ora?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>Questo aggiornamento è critico: installalo al più presto.</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 di %2 MB</translation>
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
        <translation>Visualizzatore di acquisizione HDMI</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Mostra e fa ascoltare ciò che riceve il dispositivo di acquisizione HDMI USB Kestal</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;acquisizione;schermo;condivisione;video;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell è l'applicazione desktop che accompagna il dispositivo di acquisizione HDMI USB Kestal. Collega un portatile, una fotocamera o una console di gioco all'ingresso HDMI del dispositivo e Castwell ne mostra l'immagine a tutta finestra e ne riproduce l'audio sul computer.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Trova il dispositivo da solo e segue il collegamento, lo scollegamento e il cavo HDMI</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Risiede nell'area di notifica, o in una finestra propria sui desktop che non ne hanno una</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Mantiene aggiornato il firmware del dispositivo e si aggiorna da solo</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Condivisione dell'immagine della sorgente HDMI</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>In attesa del dispositivo su un desktop senza area di notifica</translation>
    </message>
</context>
</TS>
