<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>头像</source>
        <translation>Avatar</translation>
    </message>
    <message>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <source>%lld%</source>
        <translation>%lld%</translation>
    </message>
    <message>
        <source>%@ → %@</source>
        <translation>%@ → %@</translation>
    </message>
    <message>
        <source>正在加载</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>VORNA 开场动画</source>
        <translation>VORNA opening animation</translation>
    </message>
    <message>
        <source>VORNA Logo</source>
        <translation>VORNA logo</translation>
    </message>
    <message>
        <source>已输入 %@ 字，最多 %@ 字</source>
        <translation>%@ characters of %@</translation>
    </message>
</context>
</TS>
