<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message numerus="yes">
        <source>%@ 条</source>
        <translation>
            <numerusform>%@ schedule</numerusform>
            <numerusform>%@ schedules</numerusform>
        </translation>
    </message>
    <message>
        <source>Infinite Flight 授权</source>
        <translation>Infinite Flight authorisation</translation>
    </message>
    <message>
        <source>上一位 </source>
        <translation>Previously </translation>
    </message>
    <message>
        <source>不限时间</source>
        <translation>Any time</translation>
    </message>
    <message>
        <source>人工核查</source>
        <translation>Manual check</translation>
    </message>
    <message>
        <source>保存核查结果</source>
        <translation>Save check result</translation>
    </message>
    <message>
        <source>出发</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>到达</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>副驾驶 </source>
        <translation>First officer </translation>
    </message>
    <message>
        <source>只保存你已核对的结果，不会自动重建排班。</source>
        <translation>Only the result you have checked is saved; no schedule is created again.</translation>
    </message>
    <message>
        <source>可选</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>地速</source>
        <translation>Ground speed</translation>
    </message>
    <message>
        <source>官方排班 ID</source>
        <translation>Official schedule ID</translation>
    </message>
    <message>
        <source>将创建官方排班并指派申请人为机长。</source>
        <translation>An official schedule will be created with the applicant as captain.</translation>
    </message>
    <message>
        <source>已保存，请返回列表查看最新状态。</source>
        <translation>Saved. Go back to the list to see the latest status.</translation>
    </message>
    <message>
        <source>已核对官方排班和机组</source>
        <translation>I have checked the official schedules and crew</translation>
    </message>
    <message>
        <source>批准后会创建官方排班，并指派申请人为机长。</source>
        <translation>Approving creates an official schedule with the applicant as captain.</translation>
    </message>
    <message>
        <source>排班</source>
        <translation>Schedules</translation>
    </message>
    <message>
        <source>排班审核</source>
        <translation>Schedule review</translation>
    </message>
    <message>
        <source>提交申请</source>
        <translation>Submit application</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>暂无排班</source>
        <translation>No schedules</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>机组未指派</source>
        <translation>No crew assigned</translation>
    </message>
    <message>
        <source>机长 </source>
        <translation>Captain </translation>
    </message>
    <message>
        <source>核查结果</source>
        <translation>Check result</translation>
    </message>
    <message>
        <source>核查说明（必填）</source>
        <translation>Check note (required)</translation>
    </message>
    <message>
        <source>正在飞行</source>
        <translation>Flying now</translation>
    </message>
    <message>
        <source>申请 %@</source>
        <translation>Apply for %@</translation>
    </message>
    <message>
        <source>申请人</source>
        <translation>Applicant</translation>
    </message>
    <message>
        <source>申请已提交</source>
        <translation>Application sent</translation>
    </message>
    <message>
        <source>申请已提交，等待管理员审核。</source>
        <translation>Application sent; waiting for an administrator's review.</translation>
    </message>
    <message>
        <source>申请批准后会在这里看到官方排班。</source>
        <translation>Official schedules show here once an application is approved.</translation>
    </message>
    <message>
        <source>申请批准后才会创建官方排班，并指派你为机长。</source>
        <translation>An official schedule is created, with you as captain, only once the application is approved.</translation>
    </message>
    <message>
        <source>申请这架飞机</source>
        <translation>Apply for this aircraft</translation>
    </message>
    <message>
        <source>确认不批准此申请？</source>
        <translation>Reject this application?</translation>
    </message>
    <message>
        <source>确认保存？</source>
        <translation>Save?</translation>
    </message>
    <message>
        <source>简报</source>
        <translation>Briefing</translation>
    </message>
    <message>
        <source>组织</source>
        <translation>Organisation</translation>
    </message>
    <message>
        <source>结果未确认，请刷新后核对。</source>
        <translation>The result is not confirmed. Refresh and check.</translation>
    </message>
    <message>
        <source>航线（ICAO）</source>
        <translation>Route (ICAO)</translation>
    </message>
    <message>
        <source>计划到达</source>
        <translation>Planned arrival</translation>
    </message>
    <message>
        <source>计划起飞</source>
        <translation>Planned departure</translation>
    </message>
    <message>
        <source>请先核对 Infinite Flight 官方排班和机组，不要重复创建。处理中未满十分钟时暂不能核查。</source>
        <translation>Check Infinite Flight's official schedules and crew first, and do not create one twice. An application less than ten minutes in processing cannot be checked yet.</translation>
    </message>
    <message>
        <source>请求已取消。</source>
        <translation>The request was cancelled.</translation>
    </message>
    <message>
        <source>请返回刷新并核对结果，不要重复创建排班。</source>
        <translation>Go back, refresh and check the result; do not create the schedule twice.</translation>
    </message>
    <message>
        <source>请返回查看申请列表，确认结果后再申请，避免重复提交。</source>
        <translation>Go back to the application list and check the result before applying again, so it is not sent twice.</translation>
    </message>
    <message>
        <source>飞行员 </source>
        <translation>Pilot </translation>
    </message>
    <message>
        <source>飞行计划</source>
        <translation>Flight plan</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>已创建并指派机长</source>
        <translation>Created, captain assigned</translation>
    </message>
    <message>
        <source>确认未创建，退回待审核</source>
        <translation>Not created: back to pending</translation>
    </message>
</context>
</TS>
