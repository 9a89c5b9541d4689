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
