<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>读取清单</source>
        <translation>Reading the list</translation>
    </message>
    <message>
        <source>未找到匹配清单，可以返回后直接输入。</source>
        <translation>No list to choose from. Go back and type the name instead.</translation>
    </message>
    <message>
        <source>选择机型</source>
        <translation>Choose aircraft</translation>
    </message>
    <message>
        <source>选择涂装</source>
        <translation>Choose livery</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Pictures</translation>
    </message>
    <message>
        <source>无法读取所选图片，请选择其他图片。</source>
        <translation>The chosen picture cannot be read. Please choose another one.</translation>
    </message>
    <message>
        <source>图片过大，请裁剪后再选择。</source>
        <translation>The picture is too large. Please crop it and choose it again.</translation>
    </message>
    <message>
        <source>飞行截图</source>
        <translation>Flight screenshot</translation>
    </message>
    <message>
        <source>飞行截图 %@</source>
        <translation>Flight screenshot %@</translation>
    </message>
    <message>
        <source>移除飞行截图 %@</source>
        <translation>Remove flight screenshot %@</translation>
    </message>
    <message>
        <source>机场代码需为 4 位英文字母。</source>
        <translation>Airport codes must be 4 letters.</translation>
    </message>
    <message>
        <source>请填写机型和涂装，每项不超过 120 字。</source>
        <translation>Enter the aircraft and livery, each at most 120 characters.</translation>
    </message>
    <message>
        <source>请填写有效飞行时间，分钟为 0–59，总时长大于零。</source>
        <translation>Enter a valid flight time: minutes 0–59 and a total above zero.</translation>
    </message>
    <message>
        <source>降落次数需为 1–99 的整数。</source>
        <translation>Landings must be a whole number from 1–99.</translation>
    </message>
    <message numerus="yes">
        <source>这份报告还能添加 %@ 张截图，%@ 张没有添加。重新选择会替换已选的截图。</source>
        <translation>
            <numerusform>This report has room for %@ more screenshot; %@ not added. Choosing again replaces the screenshots chosen.</numerusform>
            <numerusform>This report has room for %@ more screenshots; %@ not added. Choosing again replaces the screenshots chosen.</numerusform>
        </translation>
    </message>
    <message>
        <source>最多 6 张截图：%@ 张没有添加，可先移除再选择。</source>
        <translation>Up to 6 screenshots: %@ not added. Remove one to add another.</translation>
    </message>
    <message>
        <source>补充说明最多 500 字。</source>
        <translation>The note can be at most 500 characters.</translation>
    </message>
    <message>
        <source>确认提交 %@ → %@ 的飞行报告？提交后由管理员审核。</source>
        <translation>Submit the flight report %@ → %@? Staff will review it after submission.</translation>
    </message>
    <message>
        <source>补充说明（本次必填）</source>
        <translation>Note (required this time)</translation>
    </message>
    <message>
        <source>补充说明与截图</source>
        <translation>Note and screenshots</translation>
    </message>
    <message>
        <source>这是本场飞行，请按联盟要求联系管理员确认。</source>
        <translation>This is a local flight. Please contact staff to confirm it, as the organisation requires.</translation>
    </message>
    <message>
        <source>你可以在飞行记录中查看进度。</source>
        <translation>You can follow its progress in your flight records.</translation>
    </message>
    <message>
        <source>提交结果未确认，请先刷新飞行记录。</source>
        <translation>The submission was not confirmed. Please refresh your flight records first.</translation>
    </message>
    <message>
        <source>提交结果尚未确认。请先返回并刷新飞行记录，确认未收到后再提交，避免重复报告。</source>
        <translation>The submission is not confirmed yet. Go back and refresh your flight records; submit again only if the report is not there, to avoid a duplicate.</translation>
    </message>
    <message>
        <source>新建 PIREP</source>
        <translation>New PIREP</translation>
    </message>
    <message>
        <source>使用 IF 飞行记录</source>
        <translation>Use an IF flight</translation>
    </message>
    <message>
        <source>选一次最近飞行，自动填写报告</source>
        <translation>Pick a recent flight to fill in the report</translation>
    </message>
    <message>
        <source>航线</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>出发机场</source>
        <translation>Departure</translation>
    </message>
    <message>
        <source>到达机场</source>
        <translation>Arrival</translation>
    </message>
    <message>
        <source>本次飞行呼号</source>
        <translation>Callsign flown</translation>
    </message>
    <message>
        <source>飞机与涂装</source>
        <translation>Aircraft and livery</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Aircraft</translation>
    </message>
    <message>
        <source>从机型清单选择</source>
        <translation>Choose from the aircraft list</translation>
    </message>
    <message>
        <source>涂装</source>
        <translation>Livery</translation>
    </message>
    <message>
        <source>从涂装清单选择</source>
        <translation>Choose from the livery list</translation>
    </message>
    <message>
        <source>飞行记录</source>
        <translation>Flight record</translation>
    </message>
    <message>
        <source>飞行时间</source>
        <translation>Flight time</translation>
    </message>
    <message>
        <source>小时</source>
        <translation>Hours</translation>
    </message>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分钟</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>申请时长倍数</source>
        <translation>Time multipliers</translation>
    </message>
    <message>
        <source>两项同时满足时为 ×1.875。最终以提交时服务端校验及管理员审核为准。更改机场后请重新检查。</source>
        <translation>Both together give ×1.875. The service's check on submission and the reviewer decide. Check again after changing the airports.</translation>
    </message>
    <message>
        <source>组织倍数 ×1.25</source>
        <translation>Organisation multiplier ×1.25</translation>
    </message>
    <message>
        <source>活动倍数 ×1.5</source>
        <translation>Event multiplier ×1.5</translation>
    </message>
    <message>
        <source>检查可用倍数</source>
        <translation>Check available multipliers</translation>
    </message>
    <message>
        <source>组织倍数可用</source>
        <translation>Organisation multiplier available</translation>
    </message>
    <message>
        <source>组织倍数不可用</source>
        <translation>Organisation multiplier unavailable</translation>
    </message>
    <message>
        <source>活动倍数可用</source>
        <translation>Event multiplier available</translation>
    </message>
    <message>
        <source>活动倍数不可用</source>
        <translation>Event multiplier unavailable</translation>
    </message>
    <message>
        <source>连续提交相同航线且官方日志无法核实时，备注与截图均为必填。最多 6 张，每张不超过 2 MB。</source>
        <translation>When the same route is filed again and the official log cannot confirm it, a note and screenshots are both required. At most 6 pictures, each up to 2 MB.</translation>
    </message>
    <message>
        <source>补充说明，最多 500 字</source>
        <translation>Note, at most 500 characters</translation>
    </message>
    <message>
        <source>选择飞行截图</source>
        <translation>Choose flight screenshots</translation>
    </message>
    <message>
        <source>本次必须填写备注并附上截图</source>
        <translation>A note and screenshots are required this time</translation>
    </message>
    <message>
        <source>正在提交</source>
        <translation>Submitting</translation>
    </message>
    <message>
        <source>提交 PIREP</source>
        <translation>Submit PIREP</translation>
    </message>
    <message>
        <source>上传飞行报告</source>
        <translation>Upload flight report</translation>
    </message>
    <message>
        <source>上传</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>已提交，等待审核</source>
        <translation>Submitted, awaiting review</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>从 Infinite Flight 导入</source>
        <translation>Import from Infinite Flight</translation>
    </message>
    <message>
        <source>正在读取 IF 最近飞行</source>
        <translation>Reading your recent IF flights</translation>
    </message>
    <message>
        <source>暂无最近飞行记录</source>
        <translation>No recent flights</translation>
    </message>
    <message>
        <source>我的飞行报告</source>
        <translation>My flight reports</translation>
    </message>
    <message>
        <source>你提交的报告与审核进度即将在这里列出。</source>
        <translation>Your reports and their review progress will be listed here.</translation>
    </message>
    <message>
        <source>未提供</source>
        <translation>Not provided</translation>
    </message>
    <message>
        <source>暂无可计算的航路进度</source>
        <translation>No route progress to estimate</translation>
    </message>
    <message>
        <source>估算航路进度</source>
        <translation>Estimated route progress</translation>
    </message>
    <message>
        <source>实时数据中未找到此航班</source>
        <translation>Not found in live data</translation>
    </message>
    <message>
        <source>飞行已结束</source>
        <translation>Flight ended</translation>
    </message>
    <message>
        <source> · 此航班暂未出现在实时地图；记录服务器：</source>
        <translation> · Not on the live map yet; recorded on server: </translation>
    </message>
    <message>
        <source>核对并提交 PIREP</source>
        <translation>Review and submit PIREP</translation>
    </message>
    <message>
        <source>问询</source>
        <translation>Inquiry</translation>
    </message>
    <message numerus="yes">
        <source>%@ 份报告</source>
        <translation>
            <numerusform>%@ report</numerusform>
            <numerusform>%@ reports</numerusform>
        </translation>
    </message>
    <message>
        <source>实际飞行时间</source>
        <translation>Flight time</translation>
    </message>
    <message>
        <source>倍数</source>
        <translation>Multiplier</translation>
    </message>
    <message>
        <source>计入时长</source>
        <translation>Counted time</translation>
    </message>
    <message>
        <source>提交时间</source>
        <translation>Submitted</translation>
    </message>
    <message>
        <source>问询人：%@</source>
        <translation>Asked by: %@</translation>
    </message>
    <message>
        <source>请上传飞行截图作为补充证明。</source>
        <translation>Please upload screenshots of the flight as further evidence.</translation>
    </message>
    <message>
        <source>每份报告最多 6 张，每张不超过 2 MB。已上传 %@ 张。</source>
        <translation>Up to 6 per report, each up to 2 MB. %@ uploaded.</translation>
    </message>
    <message numerus="yes">
        <source>上传 %@ 张截图</source>
        <translation>
            <numerusform>Upload %@ screenshot</numerusform>
            <numerusform>Upload %@ screenshots</numerusform>
        </translation>
    </message>
    <message>
        <source>截图上传未被确认，请刷新后查看已上传截图。</source>
        <translation>The upload was not confirmed. Refresh to see which screenshots arrived.</translation>
    </message>
    <message>
        <source>图片暂时无法加载</source>
        <translation>The picture cannot be loaded right now</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>机场、机型或涂装</source>
        <translation>Airport, aircraft or livery</translation>
    </message>
    <message>
        <source>审核状态</source>
        <translation>Review status</translation>
    </message>
    <message>
        <source>暂无符合条件的报告</source>
        <translation>No matching reports</translation>
    </message>
    <message>
        <source>试试其他筛选条件，或提交新的飞行报告。</source>
        <translation>Try another filter, or submit a new flight report.</translation>
    </message>
    <message>
        <source>正在加载飞行记录</source>
        <translation>Loading flight records</translation>
    </message>
    <message>
        <source>菜单</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>记录页</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>地图页</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>审核结果</source>
        <translation>Review result</translation>
    </message>
    <message>
        <source>我的补充说明</source>
        <translation>My note</translation>
    </message>
    <message>
        <source>管理员问询</source>
        <translation>Inquiry from the administrators</translation>
    </message>
    <message>
        <source>已上传截图</source>
        <translation>Uploaded screenshots</translation>
    </message>
    <message>
        <source>补充飞行证据</source>
        <translation>Add flight evidence</translation>
    </message>
    <message>
        <source>选择补充截图</source>
        <translation>Choose screenshots</translation>
    </message>
    <message>
        <source>正在处理</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>审核人</source>
        <translation>Reviewer</translation>
    </message>
    <message>
        <source>审核时间</source>
        <translation>Reviewed</translation>
    </message>
    <message>
        <source>截图已上传</source>
        <translation>Screenshots uploaded</translation>
    </message>
    <message>
        <source>正在读取最近一次飞行…</source>
        <translation>Reading your latest flight…</translation>
    </message>
    <message>
        <source>还没有 IF 在线飞行记录。</source>
        <translation>No Infinite Flight online flights yet.</translation>
    </message>
    <message>
        <source>登录过期前填写的内容已保留，请检查后再提交。</source>
        <translation>What you entered before your sign-in expired was kept. Check it before you submit.</translation>
    </message>
    <message>
        <source>正在核对飞行记录</source>
        <translation>Checking your flight log</translation>
    </message>
    <message>
        <source>飞行记录中已有这份报告，无需再次提交。你可以在飞行记录中查看进度。</source>
        <translation>This report is already in your flight log; there is no need to submit it again. You can follow its progress there.</translation>
    </message>
    <message>
        <source>暂时无法核对飞行记录，为避免重复报告，这次没有提交：%@</source>
        <translation>Your flight log can't be checked right now, so nothing was submitted, to avoid a duplicate report: %@</translation>
    </message>
    <message>
        <source>提交结果尚未确认：飞行记录中暂时没有这份报告。再次提交时会先核对一次，避免重复报告。</source>
        <translation>The submission was not confirmed, and the report is not in your flight log yet. Submitting again checks the log first, so no duplicate report is made.</translation>
    </message>
    <message>
        <source>提交结果尚未确认，正在飞行记录中查找这份报告……</source>
        <translation>The submission was not confirmed. Looking for the report in your flight log…</translation>
    </message>
    <message>
        <source>倍数检查完成：%@。%@。</source>
        <translation>Multiplier check done: %@. %@.</translation>
    </message>
</context>
</TS>
