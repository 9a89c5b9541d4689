<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>未检测到 Castwell</translation>
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
        <translation>未检测到设备</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>未检测到 HDMI 信号源</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>设备正被其他应用程序使用</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>共享已暂停</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>正在暂停</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>正在启动</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>正在共享屏幕</translation>
    </message>
    <message>
        <source>Resume Sharing</source>
        <translation>恢复共享</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>暂停共享</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>开机时启动</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>共享时最大化</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>共享时置于前台</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>自动更新固件</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>通知</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
</context>
</TS>
