<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell が検出されません</translation>
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
    <message>
        <source>Resume Sharing</source>
        <translation>共有を再開</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>共有を一時停止</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>スタートアップ時に起動</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>共有時に最大化</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>共有時に最前面に表示</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>ファームウェアを自動更新</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>通知</translation>
    </message>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Quendral Castwell</source>
        <translation>Quendral Castwell</translation>
    </message>
</context>
</TS>
