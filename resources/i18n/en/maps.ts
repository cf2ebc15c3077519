<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>%@ 公里</source>
        <translation>%@ km</translation>
    </message>
    <message>
        <source>%@ 米</source>
        <translation>%@ m</translation>
    </message>
    <message>
        <source>%@，%@，查看飞行详情</source>
        <translation>%@, %@, view flight details</translation>
    </message>
    <message>
        <source>飞机</source>
        <translation>Aircraft</translation>
    </message>
</context>
</TS>
