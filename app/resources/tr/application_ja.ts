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
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>更新ファイルを %1 として保存しました。次のコマンドでインストールしてください: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>管理者パスワードが入力されなかったため、バージョン %1 のインストールをキャンセルしました。</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>バージョン %1 のインストールは許可されませんでした。</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>パッケージマネージャーでバージョン %1 をインストールできませんでした (終了ステータス %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>この更新は Debian パッケージではないため、ここではインストールできません。%1 として保存しました。</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>インストールには %1 が必要ですが、利用できません。</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>インストーラーを起動できませんでした。</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>使用できるのは Web アドレス (http および https) のみです。%1 は使用できません。</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>サーバーが通知したデータサイズが、更新ファイルの上限を超えています。</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>サーバーの応答に時間がかかりすぎました。</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>サーバーがリクエストを %1 にリダイレクトしましたが、これは Web アドレスではありません。</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>サーバーがリクエストを暗号化されていないアドレス (%1) にリダイレクトしました。</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>サーバーから送信されたデータが、更新ファイルの上限を超えています。</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>更新ファイルを保存できませんでした: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>サーバーからのデータ送信が停止しました。</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>更新情報が破損しています (%1)。</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>更新情報を取得できませんでした。インターネットに接続されていますか？しばらくしてからもう一度お試しください。

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>リリースノートを読み込めませんでした。</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>更新ファイルを一時フォルダー %1 に保存できませんでした。</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>更新ファイルをダウンロードできませんでした: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>ダウンロードした更新ファイルが不完全か破損しています (受信: %1 バイト、想定: %2 バイト)。しばらくしてからもう一度お試しください。</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>更新ファイルに %1 の開発元の署名がないため、インストールしませんでした。</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>ソフトウェアの更新</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>更新を確認しています…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>お使いのバージョンは最新です。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>バージョン履歴</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>このバージョンをスキップ</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>後で通知</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>更新をインストール</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>詳細情報…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>更新をダウンロードしています…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>更新エラー</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 は現在入手できる最新バージョンです。</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>%1 の重要な更新があります。</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>%1 の新しいバージョンがあります。</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 が公開されました (現在のバージョン: %3)。詳しくは Web ページをご覧ください。</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 が公開されました (現在のバージョン: %3)。今すぐインストールしますか？</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>これは重要な更新です。必ずインストールしてください。</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 / %2 MB</translation>
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
