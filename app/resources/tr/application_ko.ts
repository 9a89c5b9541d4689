<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
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
</context>
</TS>
