<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>审核工作台</source>
        <translation>Review workbench</translation>
    </message>
    <message>
        <source>飞行报告</source>
        <translation>Flight reports</translation>
    </message>
    <message>
        <source>Live 机队</source>
        <translation>Live fleet</translation>
    </message>
    <message>
        <source>实时地图</source>
        <translation>Live map</translation>
    </message>
    <message>
        <source>账号与设置</source>
        <translation>Account and settings</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>这一页即将加入成员中心。</source>
        <translation>This page is coming to the member centre soon.</translation>
    </message>
    <message>
        <source>活动</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>提交飞行报告</source>
        <translation>File a flight report</translation>
    </message>
    <message>
        <source>服务条款与隐私政策</source>
        <translation>Terms of service and privacy policy</translation>
    </message>
    <message>
        <source>编辑资料</source>
        <translation>Edit profile</translation>
    </message>
    <message>
        <source>个人资料</source>
        <translation>Profile</translation>
    </message>
</context>
</TS>
