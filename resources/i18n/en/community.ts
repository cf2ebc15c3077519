<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>排行榜</source>
        <translation>Leaderboard</translation>
    </message>
    <message>
        <source>成员</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>机队</source>
        <translation>Fleet</translation>
    </message>
    <message>
        <source>机场</source>
        <translation>Airports</translation>
    </message>
    <message>
        <source>管理员</source>
        <translation>Staff</translation>
    </message>
    <message>
        <source>时间范围</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>最近 30 天</source>
        <translation>Last 30 days</translation>
    </message>
    <message>
        <source>排序依据</source>
        <translation>Ranked by</translation>
    </message>
    <message>
        <source>飞行时长</source>
        <translation>Flight time</translation>
    </message>
    <message>
        <source>降落次数</source>
        <translation>Landings</translation>
    </message>
    <message>
        <source>仅统计 Member 成员已批准的 PIREP。</source>
        <translation>Only approved PIREPs of members (role “Member”) count.</translation>
    </message>
    <message>
        <source>按成员已批准 PIREP 的到达机场累计降落次数；旧报告缺失次数不计。</source>
        <translation>Landings at the arrival airports of members' approved PIREPs; older reports without a landing count are left out.</translation>
    </message>
    <message>
        <source>统计批准和拒绝的报告，每份只计一次，归于当前审核人。</source>
        <translation>Approved and rejected reports, each counted once, for its current reviewer.</translation>
    </message>
    <message>
        <source>正在加载排行榜</source>
        <translation>Loading the leaderboard</translation>
    </message>
    <message>
        <source>暂无排名</source>
        <translation>No rankings yet</translation>
    </message>
    <message>
        <source>暂无机队统计</source>
        <translation>No fleet totals yet</translation>
    </message>
    <message>
        <source>暂无机场统计</source>
        <translation>No airport totals yet</translation>
    </message>
    <message>
        <source>暂无管理员</source>
        <translation>No reviewers yet</translation>
    </message>
    <message>
        <source>批准后的报告将计入排行榜。</source>
        <translation>Reports count towards the leaderboard once approved.</translation>
    </message>
    <message numerus="yes">
        <source>%@ · %@ 次降落</source>
        <translation>
            <numerusform>%@ · %@ landing</numerusform>
            <numerusform>%@ · %@ landings</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%@ 次降落</source>
        <translation>
            <numerusform>%@ landing</numerusform>
            <numerusform>%@ landings</numerusform>
        </translation>
    </message>
    <message>
        <source>%@ 次</source>
        <translation>%@</translation>
    </message>
    <message numerus="yes">
        <source>%@ 份</source>
        <translation>
            <numerusform>%@ report</numerusform>
            <numerusform>%@ reports</numerusform>
        </translation>
    </message>
    <message>
        <source>我</source>
        <translation>Me</translation>
    </message>
    <message>
        <source>联盟排行榜</source>
        <translation>Leaderboard</translation>
    </message>
    <message>
        <source>活动进行 / 报告窗口</source>
        <translation>Live / report window</translation>
    </message>
    <message>
        <source>即将起飞</source>
        <translation>Departing soon</translation>
    </message>
    <message>
        <source>%@ · %@</source>
        <translation>%@ · %@</translation>
    </message>
    <message>
        <source>活动航线 %@ 至 %@</source>
        <translation>Event route %@ to %@</translation>
    </message>
    <message>
        <source>参加</source>
        <translation>Going</translation>
    </message>
    <message>
        <source>感兴趣</source>
        <translation>Interested</translation>
    </message>
    <message>
        <source>不参加</source>
        <translation>Not going</translation>
    </message>
    <message>
        <source>没有保存成功：</source>
        <translation>Not saved: </translation>
    </message>
    <message>
        <source>活动已经开始，不能再更改参加意向。</source>
        <translation>The event has started; your answer can no longer be changed.</translation>
    </message>
    <message>
        <source>计划参加活动时请提前选择“参加”。活动倍数还需在报告提交时满足航线和时间要求。</source>
        <translation>If you plan to take part, choose “Going” in advance. The event multiplier also needs the route and time to match when you file the report.</translation>
    </message>
    <message>
        <source>提交本次活动 PIREP（×1.5）</source>
        <translation>File this event's PIREP (×1.5)</translation>
    </message>
    <message>
        <source>可用飞机与涂装</source>
        <translation>Allowed aircraft and liveries</translation>
    </message>
    <message>
        <source>成员意向</source>
        <translation>Members' answers</translation>
    </message>
    <message numerus="yes">
        <source>%@ · %@ 人</source>
        <translation>
            <numerusform>%@ · %@ person</numerusform>
            <numerusform>%@ · %@ people</numerusform>
        </translation>
    </message>
    <message>
        <source>暂无活动</source>
        <translation>No events</translation>
    </message>
</context>
</TS>
