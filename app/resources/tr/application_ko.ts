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
