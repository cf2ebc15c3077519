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
    <message>
        <source>飞行报告仍在提交</source>
        <translation>Your flight report is still being sent</translation>
    </message>
    <message>
        <source>补充截图仍在上传</source>
        <translation>Your screenshots are still uploading</translation>
    </message>
    <message>
        <source>仍有内容在提交</source>
        <translation>Something is still being sent</translation>
    </message>
    <message>
        <source>现在退出将看不到这份报告是否提交成功；如果没有被接受，已填写的内容和截图也不会保留。</source>
        <translation>If you quit now, you won't see whether the report was accepted; if it isn't, what you entered and its screenshots are lost.</translation>
    </message>
    <message>
        <source>现在退出将看不到这些截图是否上传成功；如果没有被接受，需要重新选择截图。</source>
        <translation>If you quit now, you won't see whether the screenshots were accepted; if they aren't, you'll have to choose them again.</translation>
    </message>
    <message>
        <source>现在退出将看不到它是否提交成功。</source>
        <translation>If you quit now, you won't see whether it went through.</translation>
    </message>
    <message>
        <source>继续等待</source>
        <translation>Keep Waiting</translation>
    </message>
    <message>
        <source>仍要退出</source>
        <translation>Quit Anyway</translation>
    </message>
</context>
</TS>
