<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell no detectado</translation>
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
    <message>
        <source>Resume Sharing</source>
        <translation>Reanudar uso compartido</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Pausar uso compartido</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Iniciar con el sistema</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Maximizar al compartir</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Traer al frente al compartir</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Actualizar firmware automáticamente</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notificaciones</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
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
        <translation>Nueva versión disponible</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Aplicar actualización de firmware</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Soporte del producto &amp;&amp; solución de problemas</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Versión del software: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Versión del firmware: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Dispositivo no detectado</translation>
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
        <translation>Actualización de firmware</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Descargando firmware...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Error al descargar el firmware. Inténtelo de nuevo más tarde.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>La firma del firmware descargado no es válida, por lo que no se ha instalado.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>La actualización del firmware se instalará cuando termine la pantalla compartida.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Instalando firmware...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Error al instalar el firmware. Inténtelo de nuevo más tarde.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>¡Firmware actualizado correctamente!</translation>
    </message>
</context>
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>La actualización se ha guardado como %1. Instálela con: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>Se ha cancelado la instalación de la versión %1: no se ha introducido la contraseña de administrador.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>No se ha autorizado la instalación de la versión %1.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>El gestor de paquetes no ha podido instalar la versión %1 (estado de salida %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>Esta actualización no es un paquete Debian y no se puede instalar aquí. Se ha guardado como %1.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>Para la instalación se necesita %1, que no está disponible.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>No se ha podido iniciar el instalador.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Solo se permiten direcciones web (http y https), no %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>El servidor ha anunciado más datos de los que puede tener una actualización.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>El servidor ha tardado demasiado en responder.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>El servidor ha redirigido la solicitud a %1, que no es una dirección web.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>El servidor ha redirigido la solicitud a una dirección sin cifrar, %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>El servidor ha enviado más datos de los que puede tener una actualización.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>No se ha podido guardar la actualización: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>El servidor ha dejado de enviar datos.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>La información de actualización está dañada (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>No se ha podido obtener la información de actualización. ¿Está conectado a Internet? Inténtelo de nuevo más tarde.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>No se han podido cargar las notas de la versión.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>No se ha podido guardar la actualización en la carpeta temporal %1.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>No se ha podido descargar la actualización: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>La actualización descargada está incompleta o dañada (%1 bytes en lugar de %2). Inténtelo de nuevo más tarde.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>La actualización no está firmada por el fabricante de %1, por lo que no se ha instalado.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Actualización de software</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Buscando actualizaciones…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>¡Ya tiene la versión más reciente!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Historial de versiones</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Omitir esta versión</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Recordármelo más tarde</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Instalar actualización</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>Más información…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Descargando actualización…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Error de actualización</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 es actualmente la versión más reciente disponible.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>¡Hay disponible una actualización crítica de %1!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>¡Hay disponible una nueva versión de %1!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 ya está disponible (tiene la versión %3). Obtenga más información en su página web.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 ya está disponible (tiene la versión %3). ¿Desea instalar la actualización ahora?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>Esta actualización es crítica: instálela lo antes posible.</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 de %2 MB</translation>
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
        <translation>Visor de captura HDMI</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Muestra y reproduce lo que recibe el dispositivo de captura HDMI USB Kestal</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;captura;pantalla;compartir;vídeo;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell es la aplicación de escritorio que acompaña al dispositivo de captura HDMI USB Kestal. Conecte un portátil, una cámara o una videoconsola a la entrada HDMI del dispositivo y Castwell mostrará su imagen a toda ventana y reproducirá su sonido en el ordenador.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Encuentra el dispositivo por sí mismo y sigue su conexión, su desconexión y el cable HDMI</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Reside en la bandeja del sistema, o en su propia ventana en escritorios sin ella</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Mantiene actualizado el firmware del dispositivo y se actualiza a sí mismo</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Compartiendo la imagen de la fuente HDMI</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Esperando al dispositivo en un escritorio sin bandeja del sistema</translation>
    </message>
</context>
</TS>
