<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name>KestalMainWindow</name>
    <message>
        <source>Castwell Not Detected</source>
        <translation>Castwell이 감지되지 않음</translation>
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
        <translation>장치가 감지되지 않음</translation>
    </message>
    <message>
        <source>HDMI Source Not Detected</source>
        <translation>HDMI 소스가 감지되지 않음</translation>
    </message>
    <message>
        <source>Device in Use by Another Application</source>
        <translation>다른 응용 프로그램에서 장치를 사용 중</translation>
    </message>
    <message>
        <source>Sharing Paused</source>
        <translation>공유 일시 중지됨</translation>
    </message>
    <message>
        <source>Pausing</source>
        <translation>일시 중지 중</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>시작 중</translation>
    </message>
    <message>
        <source>Sharing Screen</source>
        <translation>화면 공유 중</translation>
    </message>
    <message>
        <source>Resume Sharing</source>
        <translation>공유 다시 시작</translation>
    </message>
    <message>
        <source>Pause Sharing</source>
        <translation>공유 일시 중지</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Launch at Startup</source>
        <translation>시작 시 실행</translation>
    </message>
    <message>
        <source>Maximize on Share</source>
        <translation>공유 시 최대화</translation>
    </message>
    <message>
        <source>Bring to Front on Share</source>
        <translation>공유 시 맨 앞으로 가져오기</translation>
    </message>
    <message>
        <source>Auto Update Firmware</source>
        <translation>펌웨어 자동 업데이트</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>알림</translation>
    </message>
    <message>
        <source>About</source>
        <translation>정보</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>종료</translation>
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
        <translation>새 버전 사용 가능</translation>
    </message>
    <message>
        <source>Apply Firmware Update</source>
        <translation>펌웨어 업데이트 적용</translation>
    </message>
    <message>
        <source>Product Support &amp;&amp; Troubleshooting</source>
        <translation>제품 지원 및 문제 해결</translation>
    </message>
    <message>
        <source>Software Version: %1</source>
        <translation>소프트웨어 버전: %1</translation>
    </message>
    <message>
        <source>Firmware Version: %1</source>
        <translation>펌웨어 버전: %1</translation>
    </message>
    <message>
        <source>Device Not Detected</source>
        <comment>Firmware Version: Device Not Detected</comment>
        <translation>장치가 감지되지 않음</translation>
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
        <translation>펌웨어 업데이트</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>완료</translation>
    </message>
    <message>
        <source>Downloading firmware...</source>
        <translation>펌웨어 다운로드 중...</translation>
    </message>
    <message>
        <source>Firmware download failed. Please try again later.</source>
        <translation>펌웨어 다운로드에 실패했습니다. 나중에 다시 시도하세요.</translation>
    </message>
    <message>
        <source>The downloaded firmware's signature is not valid, so it was not installed.</source>
        <translation>다운로드한 펌웨어의 서명이 유효하지 않아 설치하지 않았습니다.</translation>
    </message>
    <message>
        <source>The firmware update will be installed when screen sharing ends.</source>
        <translation>펌웨어 업데이트는 화면 공유가 끝나면 설치됩니다.</translation>
    </message>
    <message>
        <source>Installing firmware...</source>
        <translation>펌웨어 설치 중...</translation>
    </message>
    <message>
        <source>Firmware install failed. Please try again later.</source>
        <translation>펌웨어 설치에 실패했습니다. 나중에 다시 시도하세요.</translation>
    </message>
    <message>
        <source>Firmware successfully updated!</source>
        <translation>펌웨어가 성공적으로 업데이트되었습니다!</translation>
    </message>
</context>
<context>
    <name>appcast::Installer</name>
    <message>
        <source>The update was saved as %1. Install it with: sudo apt-get install %1</source>
        <translation>업데이트가 %1(으)로 저장되었습니다. 다음 명령으로 설치하세요: sudo apt-get install %1</translation>
    </message>
    <message>
        <source>The installation of %1 was cancelled: the administrator's password was not given.</source>
        <translation>관리자 암호가 입력되지 않아 버전 %1 설치가 취소되었습니다.</translation>
    </message>
    <message>
        <source>The installation of %1 was not authorized.</source>
        <translation>버전 %1 설치가 승인되지 않았습니다.</translation>
    </message>
    <message>
        <source>The package manager could not install %1 (exit status %2):
%3</source>
        <translation>패키지 관리자가 버전 %1을(를) 설치하지 못했습니다(종료 상태 %2):
%3</translation>
    </message>
    <message>
        <source>This update is not a Debian package and cannot be installed here. It was saved as %1.</source>
        <translation>이 업데이트는 Debian 패키지가 아니므로 여기에서 설치할 수 없습니다. %1(으)로 저장되었습니다.</translation>
    </message>
    <message>
        <source>Installing needs %1, which is not available.</source>
        <translation>설치하려면 %1이(가) 필요하지만 사용할 수 없습니다.</translation>
    </message>
    <message>
        <source>The installer could not be started.</source>
        <translation>설치 프로그램을 시작할 수 없습니다.</translation>
    </message>
</context>
<context>
    <name>appcast::BoundedDownload</name>
    <message>
        <source>Only web addresses (http and https) are allowed, not %1.</source>
        <translation>웹 주소(http 및 https)만 허용되며 %1은(는) 허용되지 않습니다.</translation>
    </message>
    <message>
        <source>The server announced more data than an update may have.</source>
        <translation>서버가 알린 데이터 크기가 업데이트에 허용되는 크기를 초과합니다.</translation>
    </message>
    <message>
        <source>The server took too long to answer.</source>
        <translation>서버 응답 시간이 너무 오래 걸렸습니다.</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, which is not a web address.</source>
        <translation>서버가 요청을 웹 주소가 아닌 %1(으)로 리디렉션했습니다.</translation>
    </message>
    <message>
        <source>The server sent the request on to an unencrypted address, %1.</source>
        <translation>서버가 요청을 암호화되지 않은 주소 %1(으)로 리디렉션했습니다.</translation>
    </message>
    <message>
        <source>The server sent more data than an update may have.</source>
        <translation>서버가 업데이트에 허용되는 크기를 초과하는 데이터를 보냈습니다.</translation>
    </message>
    <message>
        <source>The update could not be saved: %1</source>
        <translation>업데이트를 저장할 수 없습니다: %1</translation>
    </message>
    <message>
        <source>The server stopped sending data.</source>
        <translation>서버가 데이터 전송을 중단했습니다.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateEngine</name>
    <message>
        <source>The update information is damaged (%1).</source>
        <translation>업데이트 정보가 손상되었습니다(%1).</translation>
    </message>
    <message>
        <source>Update information could not be retrieved. Are you connected to the internet? Please try again later.

%1</source>
        <translation>업데이트 정보를 가져올 수 없습니다. 인터넷에 연결되어 있는지 확인하고 나중에 다시 시도하세요.

%1</translation>
    </message>
    <message>
        <source>The release notes could not be loaded.</source>
        <translation>릴리스 노트를 불러올 수 없습니다.</translation>
    </message>
    <message>
        <source>The update could not be saved in the temporary folder %1.</source>
        <translation>임시 폴더 %1에 업데이트를 저장할 수 없습니다.</translation>
    </message>
    <message>
        <source>The update could not be downloaded: %1</source>
        <translation>업데이트를 다운로드할 수 없습니다: %1</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or damaged (%1 bytes instead of %2). Please try again later.</source>
        <translation>다운로드한 업데이트가 불완전하거나 손상되었습니다(예상 %2바이트, 수신 %1바이트). 나중에 다시 시도하세요.</translation>
    </message>
    <message>
        <source>The update is not signed by the maker of %1, so it was not installed.</source>
        <translation>업데이트에 %1 제작사의 서명이 없어 설치하지 않았습니다.</translation>
    </message>
</context>
<context>
    <name>appcast::UpdateWindow</name>
    <message>
        <source>Software Update</source>
        <translation>소프트웨어 업데이트</translation>
    </message>
    <message>
        <source>Checking for updates…</source>
        <translation>업데이트 확인 중…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>You're up to date!</source>
        <translation>최신 버전을 사용하고 있습니다!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Version History</source>
        <translation>버전 기록</translation>
    </message>
    <message>
        <source>Skip this version</source>
        <translation>이 버전 건너뛰기</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>나중에 알림</translation>
    </message>
    <message>
        <source>Install update</source>
        <translation>업데이트 설치</translation>
    </message>
    <message>
        <source>Learn More…</source>
        <translation>자세히 알아보기…</translation>
    </message>
    <message>
        <source>Downloading update…</source>
        <translation>업데이트 다운로드 중…</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>업데이트 오류</translation>
    </message>
    <message>
        <source>%1 %2 is currently the newest version available.</source>
        <translation>%1 %2이(가) 현재 사용 가능한 최신 버전입니다.</translation>
    </message>
    <message>
        <source>A critical update of %1 is available!</source>
        <translation>%1의 중요 업데이트가 있습니다!</translation>
    </message>
    <message>
        <source>A new version of %1 is available!</source>
        <translation>%1의 새 버전이 있습니다!</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Learn more about it on its web page.</source>
        <translation>%1 %2을(를) 사용할 수 있습니다(현재 버전: %3). 웹 페이지에서 자세히 알아보세요.</translation>
    </message>
    <message>
        <source>%1 %2 is now available (you have %3). Would you like to install it now?</source>
        <translation>%1 %2을(를) 사용할 수 있습니다(현재 버전: %3). 지금 설치하시겠습니까?</translation>
    </message>
    <message>
        <source>This update is critical: please install it.</source>
        <translation>중요한 업데이트이므로 반드시 설치하세요.</translation>
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
        <translation>HDMI 캡처 뷰어</translation>
    </message>
    <message>
        <source>Show and hear what the Kestal USB HDMI capture device receives</source>
        <extracomment>menu entry's tooltip and software centre's summary</extracomment>
        <translation>Kestal USB HDMI 캡처 장치가 받는 화면과 소리를 보여 주고 들려줍니다</translation>
    </message>
    <message>
        <source>HDMI;capture;screen;share;video;Kestal;Quendral;</source>
        <extracomment>menu entry: search words, each ended by ';'</extracomment>
        <translation>HDMI;캡처;화면;공유;비디오;Kestal;Quendral;</translation>
    </message>
    <message>
        <source>Castwell is the desktop companion of the Kestal USB HDMI capture device. Connect a laptop, a camera or a game console to the device's HDMI input and Castwell shows its picture full-window and plays its sound on the computer.</source>
        <extracomment>software centre's description</extracomment>
        <translation>Castwell은 Kestal USB HDMI 캡처 장치의 데스크톱 동반 프로그램입니다. 노트북, 카메라 또는 게임 콘솔을 장치의 HDMI 입력에 연결하면 Castwell이 그 화면을 창 전체에 표시하고 소리를 컴퓨터에서 재생합니다.</translation>
    </message>
    <message>
        <source>Finds the device by itself and follows plugging, unplugging and the HDMI cable</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>장치를 스스로 찾고 연결, 분리 및 HDMI 케이블 상태를 따라갑니다</translation>
    </message>
    <message>
        <source>Lives in the system tray, or in its own window on desktops without one</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>시스템 트레이에 상주하며, 트레이가 없는 데스크톱에서는 자체 창으로 동작합니다</translation>
    </message>
    <message>
        <source>Keeps the device's firmware current and updates itself</source>
        <extracomment>software centre's description: a feature</extracomment>
        <translation>장치의 펌웨어를 최신으로 유지하고 스스로 업데이트합니다</translation>
    </message>
    <message>
        <source>Sharing the picture of the HDMI source</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>HDMI 소스의 화면을 공유하는 중</translation>
    </message>
    <message>
        <source>Waiting for the device on a desktop without a system tray</source>
        <extracomment>software centre's screenshot caption</extracomment>
        <translation>시스템 트레이가 없는 데스크톱에서 장치를 기다리는 중</translation>
    </message>
</context>
</TS>
