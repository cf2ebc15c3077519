<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message numerus="yes">
        <source>排班 %@</source>
        <translation>
            <numerusform>%@ schedule</numerusform>
            <numerusform>%@ schedules</numerusform>
        </translation>
    </message>
    <message>
        <source>飞行员 </source>
        <translation>Pilot </translation>
    </message>
    <message>
        <source>上一位 </source>
        <translation>Previously </translation>
    </message>
    <message>
        <source>%@ · %@ 架</source>
        <translation>%@ · %@ aircraft</translation>
    </message>
    <message>
        <source>查看 VORNA Live 机队、申请排班。</source>
        <translation>See the VORNA Live fleet and apply for schedules.</translation>
    </message>
    <message>
        <source>%@ 架飞行中</source>
        <translation>%@ airborne</translation>
    </message>
    <message>
        <source>%@ 架在地面</source>
        <translation>%@ on the ground</translation>
    </message>
    <message>
        <source>共 %@ 架</source>
        <translation>%@ in all</translation>
    </message>
    <message>
        <source>更新于 %@</source>
        <translation>Updated %@</translation>
    </message>
    <message>
        <source>当前没有可审核的排班申请。</source>
        <translation>There are no schedule applications to review.</translation>
    </message>
    <message>
        <source>在机队里选一架飞机即可申请排班。</source>
        <translation>Choose an aircraft of the fleet to apply for a schedule.</translation>
    </message>
    <message>
        <source>排班审核</source>
        <translation>Schedule review</translation>
    </message>
    <message>
        <source>我的申请</source>
        <translation>My applications</translation>
    </message>
    <message>
        <source>我的申请 %@</source>
        <translation>My applications %@</translation>
    </message>
    <message>
        <source>请在授权时共享至少一个 VORNA Live 组织。</source>
        <translation>Share at least one VORNA Live organisation when you authorise.</translation>
    </message>
    <message>
        <source>无效的授权地址。</source>
        <translation>Invalid authorisation address.</translation>
    </message>
    <message>
        <source>未能断开 Infinite Flight，请稍后重试。</source>
        <translation>Infinite Flight was not disconnected. Please try again later.</translation>
    </message>
    <message>
        <source>资料已过期，请刷新。</source>
        <translation>The data is out of date. Please refresh.</translation>
    </message>
    <message>
        <source>Live 飞机详情</source>
        <translation>Live aircraft</translation>
    </message>
    <message>
        <source>Live 排班审核</source>
        <translation>Live application review</translation>
    </message>
    <message>
        <source>Infinite Flight 授权</source>
        <translation>Infinite Flight authorisation</translation>
    </message>
    <message>
        <source>断开 Infinite Flight？</source>
        <translation>Disconnect Infinite Flight?</translation>
    </message>
    <message>
        <source>断开后需要重新授权才能查看机队和申请排班。</source>
        <translation>After disconnecting you need to authorise again to see the fleet and apply for schedules.</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>注册号、机型或涂装</source>
        <translation>Registration, type or livery</translation>
    </message>
    <message>
        <source>IFC 头像</source>
        <translation>IFC avatar</translation>
    </message>
    <message>
        <source>机队与排班</source>
        <translation>Fleet and schedules</translation>
    </message>
    <message>
        <source>正在读取机队</source>
        <translation>Loading the fleet</translation>
    </message>
    <message>
        <source>连接 Infinite Flight</source>
        <translation>Connect Infinite Flight</translation>
    </message>
    <message>
        <source>连接与你的 VORNA 账号一致的 Infinite Flight 账号，并共享 VORNA Live 组织。</source>
        <translation>Connect the Infinite Flight account that matches your VORNA account and share the VORNA Live organisations.</translation>
    </message>
    <message>
        <source>重新授权 / 更换共享组织</source>
        <translation>Authorise again / change shared organisations</translation>
    </message>
    <message>
        <source>断开 Infinite Flight</source>
        <translation>Disconnect Infinite Flight</translation>
    </message>
    <message>
        <source>读不到 VORNA 机队</source>
        <translation>The VORNA fleet cannot be read</translation>
    </message>
    <message>
        <source>请重新授权，并在 Infinite Flight 共享 VORNA 组织。</source>
        <translation>Authorise again and share the VORNA organisation in Infinite Flight.</translation>
    </message>
    <message>
        <source>没有符合条件的飞机。</source>
        <translation>No aircraft match.</translation>
    </message>
    <message>
        <source>暂无申请</source>
        <translation>No applications yet</translation>
    </message>
    <message>
        <source>加载更多</source>
        <translation>Load more</translation>
    </message>
</context>
</TS>
