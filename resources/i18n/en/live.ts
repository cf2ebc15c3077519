<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>状态待确认</source>
        <translation>Status unconfirmed</translation>
    </message>
    <message>
        <source>储存</source>
        <translation>In storage</translation>
    </message>
    <message>
        <source>机库中</source>
        <translation>In the hangar</translation>
    </message>
    <message>
        <source>已删除</source>
        <translation>Deleted</translation>
    </message>
    <message>
        <source>下一班</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>最近停在</source>
        <translation>Last parked at</translation>
    </message>
    <message>
        <source>%@ 出发</source>
        <translation>From %@</translation>
    </message>
    <message>
        <source>最近一次</source>
        <translation>Last flight</translation>
    </message>
    <message>
        <source>机型暂未识别</source>
        <translation>Aircraft type not recognised</translation>
    </message>
    <message>
        <source> · 刚刚</source>
        <translation> · just now</translation>
    </message>
    <message>
        <source> · %@ 分钟前</source>
        <translation> · %@ min ago</translation>
    </message>
</context>
</TS>
