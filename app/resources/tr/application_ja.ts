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
        <translation>新しいバージョンがあります</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>ファームウェアの更新を適用</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>製品サポートとトラブルシューティング</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>ソフトウェアバージョン: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>ファームウェアバージョン: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>デバイスが検出されません</translation>
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
        <translation>ファームウェアの更新</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>ファームウェアをダウンロードしています...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>ファームウェアのダウンロードに失敗しました。しばらくしてからもう一度お試しください。</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>ダウンロードしたファームウェアの署名が無効なため、インストールしませんでした。</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>ファームウェアの更新は画面共有の終了後にインストールされます。</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>ファームウェアをインストールしています...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>ファームウェアのインストールに失敗しました。しばらくしてからもう一度お試しください。</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>ファームウェアが正常に更新されました。</translation>
    </message>
</context>
<context>
    <name></name>
    <message>
        <source>HDMI Capture Viewer</source>
        <extracomment>menu entry: the kind of program</extracomment>
        <translation>HDMI キャプチャビューアー</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Kestal USB HDMI キャプチャデバイスが受信した映像と音声を再生します</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;キャプチャ;画面;共有;ビデオ;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell は Kestal USB HDMI キャプチャデバイス用のデスクトップアプリケーションです。ノートパソコン、カメラ、ゲーム機をデバイスの HDMI 入力に接続すると、Castwell がその映像をウィンドウいっぱいに表示し、音声をコンピューターで再生します。</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>デバイスを自動的に見つけ、接続、取り外し、HDMI ケーブルの状態に追従します</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>システムトレイに常駐します。トレイのないデスクトップでは専用のウィンドウで動作します</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>デバイスのファームウェアを最新に保ち、自身も更新します</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>HDMI ソースの映像を共有中</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>システムトレイのないデスクトップでデバイスを待機中</translation>
    </message>
</context>
</TS>
