<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>TrayIconMenu</name>
    <message>
        <source>Device Not Detected</source>
        <translation>デバイスが検出されません</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>HDMI ソースが検出されません</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>デバイスは別のアプリケーションで使用中です</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>共有を一時停止中</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>一時停止しています</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>開始しています</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>画面を共有中</translation>
    </message>
</context>
</TS>
