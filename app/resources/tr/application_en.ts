<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell Not Detected</translation>
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
        <translation>Device Not Detected</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>HDMI Source Not Detected</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>Device in Use by Another Application</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>Sharing Paused</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>Pausing</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Starting</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>Sharing Screen</translation>
    </message>
    <message>
        <source>Resume Sharing</source>
        <translation>Resume Sharing</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>Pause Sharing</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>Launch at Startup</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>Maximize on Share</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>Bring to Front on Share</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>Auto Update Firmware</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Notifications</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Exit</translation>
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
        <translation>New version available</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>Apply Firmware Update</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>Product Support &amp;&amp; Troubleshooting</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>Software Version: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>Firmware Version: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>Device Not Detected</translation>
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
        <translation>Firmware Update</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>Downloading firmware...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>Firmware download failed. Please try again later.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>The downloaded firmware's signature is not valid, so it was not installed.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>The firmware update will be installed when screen sharing ends.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>Installing firmware...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>Firmware install failed. Please try again later.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>Firmware successfully updated!</translation>
    </message>
</context>
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>The update was saved as %1. Install it with: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>The installation of %1 was cancelled: the administrator's password was not given.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>The installation of %1 was not authorized.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>The package manager could not install %1 (exit status %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>This update is not a Debian package and cannot be installed here. It was saved as %1.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>Installing needs %1, which is not available.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>The installer could not be started.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>Only web addresses (http and https) are allowed, not %1.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>The server announced more data than an update may have.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>The server took too long to answer.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>The server sent the request on to %1, which is not a web address.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>The server sent the request on to an unencrypted address, %1.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>The server sent more data than an update may have.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>The update could not be saved: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>The server stopped sending data.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>The update information is damaged (%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>The release notes could not be loaded.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>The update could not be saved in the temporary folder %1.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>The update could not be downloaded: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>The update is not signed by the maker of %1, so it was not installed.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>Software Update</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>Checking for updates…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>You're up to date!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>Version History</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>Skip this version</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Remind me later</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>Install update</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>Learn More…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>Downloading update…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Update Error</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2 is currently the newest version available.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>A critical update of %1 is available!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>A new version of %1 is available!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2 is now available (you have %3). Learn more about it on its web page.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2 is now available (you have %3). Would you like to install it now?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>This update is critical: please install it.</translation>
    </message>
    <message>
        <source>%1 of %2 MB</source>
        <translation>%1 of %2 MB</translation>
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
        <translation>HDMI Capture Viewer</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Show and hear what the Kestal USB HDMI capture device receives</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;capture;screen;share;video;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Finds the device by itself and follows plugging, unplugging and the HDMI cable</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Lives in the system tray, or in its own window on desktops without one</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>Keeps the device's firmware current and updates itself</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Sharing the picture of the HDMI source</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>Waiting for the device on a desktop without a system tray</translation>
    </message>
</context>
</TS>
