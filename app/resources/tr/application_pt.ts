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
</TS>
