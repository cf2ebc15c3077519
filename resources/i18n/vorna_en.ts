<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>%@ 小时 %@ 分</source>
        <translation>%@ h %@ min</translation>
    </message>
    <message>
        <source>Vornalia 成员中心</source>
        <translation>Vornalia Member Centre</translation>
    </message>
    <message>
        <source>成员中心正在准备中。</source>
        <translation>The member centre is being prepared.</translation>
    </message>
</context>
</TS>
