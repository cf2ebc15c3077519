<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>通知</source>
        <translation>Notifications</translation>
    </message>
    <message>
        <source>成员中心</source>
        <translation>Member Centre</translation>
    </message>
    <message>
        <source>消息详情</source>
        <translation>Message details</translation>
    </message>
    <message>
        <source>暂无新消息</source>
        <translation>No new messages</translation>
    </message>
    <message>
        <source>已读</source>
        <translation>Mark read</translation>
    </message>
    <message>
        <source>全部已读</source>
        <translation>Mark all read</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>活动详情</source>
        <translation>Event details</translation>
    </message>
    <message>
        <source>报告详情</source>
        <translation>Report details</translation>
    </message>
</context>
</TS>
