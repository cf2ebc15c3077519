<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>成员、机场或机型</source>
        <translation>Member, airport or aircraft</translation>
    </message>
    <message>
        <source>问询中</source>
        <translation>Under inquiry</translation>
    </message>
    <message>
        <source>正在读取报告</source>
        <translation>Loading reports</translation>
    </message>
    <message>
        <source>没有这一类报告</source>
        <translation>No reports of this kind</translation>
    </message>
    <message>
        <source>审核详情</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>系统核对</source>
        <translation>System checks</translation>
    </message>
    <message>
        <source>正在核对呼号</source>
        <translation>Checking callsigns</translation>
    </message>
    <message>
        <source>没有可用的系统核对记录</source>
        <translation>No system checks available</translation>
    </message>
    <message>
        <source>成员提交的截图</source>
        <translation>Member's screenshots</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Decision</translation>
    </message>
    <message>
        <source>请成员补充的内容</source>
        <translation>What the member should add</translation>
    </message>
    <message>
        <source>拒绝原因（必填）</source>
        <translation>Reason for rejection (required)</translation>
    </message>
    <message>
        <source>撤回问询</source>
        <translation>Withdraw inquiry</translation>
    </message>
    <message>
        <source>时长倍数</source>
        <translation>Time multiplier</translation>
    </message>
    <message>
        <source>保存倍数</source>
        <translation>Save multiplier</translation>
    </message>
    <message>
        <source>操作历史</source>
        <translation>History</translation>
    </message>
    <message>
        <source>永久删除这份 PIREP</source>
        <translation>Delete this PIREP permanently</translation>
    </message>
    <message>
        <source>正在保存</source>
        <translation>Saving</translation>
    </message>
    <message>
        <source>确认审核结果</source>
        <translation>Confirm decision</translation>
    </message>
    <message>
        <source>⚠ 最近 10 次飞行里有这条航线，但呼号与该次飞行不一致</source>
        <translation>⚠ This route is among the last 10 flights, but the callsign differs from that flight</translation>
    </message>
    <message>
        <source>✓ 最近 10 次飞行里找到这条航线</source>
        <translation>✓ Route found among the last 10 flights</translation>
    </message>
    <message>
        <source>呼号与该次飞行一致</source>
        <translation>Callsign matches that flight</translation>
    </message>
    <message>
        <source>⚠ 最近 10 次飞行里没有这条航线</source>
        <translation>⚠ Route not among the last 10 flights</translation>
    </message>
    <message>
        <source>未能核对（IF 暂时不可用）</source>
        <translation>Not checked (IF unavailable for now)</translation>
    </message>
    <message>
        <source>✓ 呼号统一</source>
        <translation>✓ Callsigns agree</translation>
    </message>
    <message>
        <source>⚠ 呼号不统一</source>
        <translation>⚠ Callsigns differ</translation>
    </message>
    <message>
        <source>无法确认</source>
        <translation>Cannot confirm</translation>
    </message>
    <message>
        <source>%@ · %@</source>
        <translation>%@ · %@</translation>
    </message>
    <message>
        <source>变更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>×%@</source>
        <translation>×%@</translation>
    </message>
    <message>
        <source>%@：%@</source>
        <translation>%@: %@</translation>
    </message>
    <message>
        <source>申请人：%@</source>
        <translation>Applicant: %@</translation>
    </message>
    <message>
        <source>上传的呼号</source>
        <translation>Uploaded callsign</translation>
    </message>
    <message>
        <source>上传时自动核对的结果</source>
        <translation>Checked automatically on upload</translation>
    </message>
    <message>
        <source>未填写</source>
        <translation>Not given</translation>
    </message>
    <message>
        <source>IF 实际呼号</source>
        <translation>Callsign in IF</translation>
    </message>
    <message>
        <source>网站设置的呼号</source>
        <translation>Callsign on the website</translation>
    </message>
    <message>
        <source>未设置</source>
        <translation>Not set</translation>
    </message>
    <message>
        <source>修改审核结果</source>
        <translation>Change decision</translation>
    </message>
    <message>
        <source>永久删除报告</source>
        <translation>Delete report permanently</translation>
    </message>
    <message>
        <source>保存修改</source>
        <translation>Save change</translation>
    </message>
    <message>
        <source>此操作会永久删除报告及附件，无法恢复。</source>
        <translation>This deletes the report and its attachments permanently. It cannot be undone.</translation>
    </message>
    <message>
        <source>确认保存这项修改？</source>
        <translation>Save this change?</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>服务器没有确认这项修改，请刷新后查看。</source>
        <translation>The service did not confirm this change. Refresh to see where it stands.</translation>
    </message>
    <message>
        <source>下拉可刷新。</source>
        <translation>Refresh to load again.</translation>
    </message>
    <message>
        <source>请尝试其他搜索内容。</source>
        <translation>Try another search.</translation>
    </message>
    <message>
        <source>最近 10 次飞行里找不到这条航线</source>
        <translation>Route not among the last 10 flights</translation>
    </message>
    <message>
        <source>找不到对应的 IF 账号</source>
        <translation>No matching IF account</translation>
    </message>
    <message>
        <source>请求过多，稍后刷新</source>
        <translation>Too many requests; refresh later</translation>
    </message>
    <message>
        <source>IF 服务暂时不可用</source>
        <translation>IF service unavailable for now</translation>
    </message>
    <message>
        <source>批准</source>
        <translation>Approve</translation>
    </message>
    <message>
        <source>不批准</source>
        <translation>Reject</translation>
    </message>
    <message>
        <source>×1</source>
        <translation>×1</translation>
    </message>
    <message>
        <source>×1.25</source>
        <translation>×1.25</translation>
    </message>
    <message>
        <source>×1.5</source>
        <translation>×1.5</translation>
    </message>
    <message>
        <source>×1.875</source>
        <translation>×1.875</translation>
    </message>
    <message>
        <source>活动日程</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>审核结果已保存。</source>
        <translation>Review saved.</translation>
    </message>
    <message>
        <source>问询已发送给飞行员。</source>
        <translation>Inquiry sent to the pilot.</translation>
    </message>
    <message>
        <source>已解除问询。</source>
        <translation>Inquiry lifted.</translation>
    </message>
    <message>
        <source>时长倍数已保存。</source>
        <translation>Multiplier saved.</translation>
    </message>
    <message>
        <source>报告已删除。</source>
        <translation>Report deleted.</translation>
    </message>
    <message>
        <source>修改已保存。</source>
        <translation>Change saved.</translation>
    </message>
</context>
</TS>
