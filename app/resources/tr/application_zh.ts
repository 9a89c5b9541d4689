<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
</context>
</TS>
