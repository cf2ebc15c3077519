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
        <source>还没有已批准的航线</source>
        <translation>No Approved Routes Yet</translation>
    </message>
    <message>
        <source>飞过的机场将连成你的航线图。</source>
        <translation>The airports you fly will join up into your route map.</translation>
    </message>
    <message>
        <source>本人已批准航线地图，共 %@ 条航线</source>
        <translation>Map of my approved routes, %@ routes</translation>
    </message>
    <message>
        <source>显示全部航线</source>
        <translation>Show all routes</translation>
    </message>
    <message>
        <source>全屏查看航线</source>
        <translation>View routes full screen</translation>
    </message>
</context>
</TS>
