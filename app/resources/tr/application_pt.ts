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
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>A atualização foi salva como %1. Instale-a com: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>A instalação da versão %1 foi cancelada: a senha de administrador não foi informada.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>A instalação da versão %1 não foi autorizada.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>O gerenciador de pacotes não conseguiu instalar a versão %1 (status de saída %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>Esta atualização não é um pacote Debian e não pode ser instalada aqui. Ela foi salva como %1.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>A instalação precisa de %1, que não está disponível.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>Não foi possível iniciar o instalador.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Somente endereços web (http e https) são permitidos, não %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>O servidor anunciou mais dados do que uma atualização pode ter.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>O servidor demorou demais para responder.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>O servidor redirecionou a solicitação para %1, que não é um endereço web.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>O servidor redirecionou a solicitação para um endereço não criptografado, %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>O servidor enviou mais dados do que uma atualização pode ter.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>Não foi possível salvar a atualização: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>O servidor parou de enviar dados.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>As informações de atualização estão danificadas (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>Não foi possível obter as informações de atualização. Você está conectado à internet? Tente novamente mais tarde.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>Não foi possível carregar as notas da versão.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>Não foi possível salvar a atualização na pasta temporária %1.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>Não foi possível baixar a atualização: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>A atualização baixada está incompleta ou danificada (%1 bytes em vez de %2). Tente novamente mais tarde.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>A atualização não foi assinada pelo fabricante de %1, por isso não foi instalada.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Atualização de software</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Procurando atualizações…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>Você está com a versão mais recente!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Histórico de versões</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Ignorar esta versão</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Lembrar mais tarde</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Instalar atualização</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>Saiba mais…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Baixando atualização…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Erro de atualização</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 é a versão mais recente disponível no momento.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>Uma atualização crítica de %1 está disponível!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>Uma nova versão de %1 está disponível!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 já está disponível (você tem a versão %3). Saiba mais na página web da versão.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 já está disponível (você tem a versão %3). Deseja instalar a atualização agora?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>Esta atualização é crítica: instale-a o quanto antes.</translation>
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
