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
        <translation>有新版本可用</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>应用固件更新</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>产品支持与故障排除</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>软件版本：%1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>固件版本：%1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>未检测到设备</translation>
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
        <translation>固件更新</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>正在下载固件...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>固件下载失败。请稍后重试。</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>下载的固件签名无效，因此未安装。</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>固件更新将在屏幕共享结束后安装。</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>正在安装固件...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>固件安装失败。请稍后重试。</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>固件更新成功！</translation>
    </message>
</context>
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>更新已保存为 %1。请使用以下命令安装：sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>由于未输入管理员密码，已取消安装版本 %1。</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>版本 %1 的安装未获授权。</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>包管理器无法安装版本 %1（退出状态 %2）：
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>此更新不是 Debian 软件包，无法在此安装。已将其保存为 %1。</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>安装需要 %1，但系统中没有该程序。</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>无法启动安装程序。</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>仅允许使用网址（http 和 https），不允许使用 %1。</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>服务器声明的数据量超出了更新允许的大小。</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>服务器响应超时。</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>服务器将请求重定向到了 %1，但这不是网址。</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>服务器将请求重定向到了未加密的地址 %1。</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>服务器发送的数据量超出了更新允许的大小。</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>无法保存更新：%1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>服务器已停止发送数据。</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>更新信息已损坏（%1）。</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>无法获取更新信息。您是否已连接到互联网？请稍后重试。

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>无法加载发行说明。</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>无法将更新保存到临时文件夹 %1。</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>无法下载更新：%1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>下载的更新不完整或已损坏（收到 %1 字节，应为 %2 字节）。请稍后重试。</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>此更新未经 %1 开发者签名，因此未安装。</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>软件更新</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>正在检查更新…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>已是最新版本！</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>版本历史</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>跳过此版本</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>稍后提醒我</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>安装更新</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>了解更多…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>正在下载更新…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>更新错误</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 是当前可用的最新版本。</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>%1 有重要更新可用！</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>%1 有新版本可用！</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 现已推出（您当前的版本为 %3）。请访问其网页了解详情。</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 现已推出（您当前的版本为 %3）。是否立即安装？</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>这是一个重要更新，请务必安装。</translation>
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
        <translation>HDMI 采集查看器</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>显示并播放 Kestal USB HDMI 采集设备接收到的画面和声音</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;采集;屏幕;共享;视频;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell 是 Kestal USB HDMI 采集设备的桌面配套程序。将笔记本电脑、相机或游戏机连接到设备的 HDMI 输入端，Castwell 即可在整个窗口中显示其画面，并在电脑上播放其声音。</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>自动查找设备，并跟踪插入、拔出以及 HDMI 线缆的状态</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>驻留在系统托盘中；在没有托盘的桌面上则使用自己的窗口</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>保持设备固件为最新，并自动更新自身</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>正在共享 HDMI 信号源的画面</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>在没有系统托盘的桌面上等待设备</translation>
    </message>
</context>
</TS>
