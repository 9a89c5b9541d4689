<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell não detectado</translation>
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
        <translation>Dispositivo não detectado</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>Fonte HDMI não detectada</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Dispositivo em uso por outro aplicativo</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Compartilhamento pausado</translation>
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
        <translation>Compartilhando a tela</translation>
    </message>
    <message>
        <source>Resume Sharing</source>
        <translation>Retomar compartilhamento</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Pausar compartilhamento</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Iniciar com o sistema</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Maximizar ao compartilhar</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Trazer para a frente ao compartilhar</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Atualizar firmware automaticamente</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notificações</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Sobre</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Sair</translation>
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
        <translation>Nova versão disponível</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Aplicar atualização de firmware</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Suporte ao produto &amp;&amp; solução de problemas</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Versão do software: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Versão do firmware: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Dispositivo não detectado</translation>
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
        <translation>Atualização de firmware</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Concluído</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Baixando firmware...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Falha ao baixar o firmware. Tente novamente mais tarde.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>A assinatura do firmware baixado não é válida, por isso ele não foi instalado.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>A atualização do firmware será instalada quando o compartilhamento de tela terminar.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Instalando firmware...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Falha ao instalar o firmware. Tente novamente mais tarde.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>Firmware atualizado com sucesso!</translation>
    </message>
</context>
<context>
    <name></name>
    <message>
        <source>HDMI Capture Viewer</source>
        <extracomment>menu entry: the kind of program</extracomment>
        <translation>Visualizador de captura HDMI</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Mostra e reproduz o que o dispositivo de captura HDMI USB Kestal recebe</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;captura;tela;compartilhar;vídeo;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell é o aplicativo de desktop que acompanha o dispositivo de captura HDMI USB Kestal. Conecte um notebook, uma câmera ou um console de videogame à entrada HDMI do dispositivo e o Castwell mostra a imagem dele na janela inteira e reproduz o som no computador.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Encontra o dispositivo sozinho e acompanha a conexão, a desconexão e o cabo HDMI</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Fica na bandeja do sistema, ou em sua própria janela em desktops sem bandeja</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Mantém o firmware do dispositivo atualizado e se atualiza sozinho</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Compartilhando a imagem da fonte HDMI</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Aguardando o dispositivo em um desktop sem bandeja do sistema</translation>
    </message>
</context>
</TS>
