<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>%@ 小时 %@ 分</source>
        <translation>%@ h %@ min</translation>
    </message>
    <message>
        <source>Vornalia 成员中心</source>
        <translation>Vornalia Member Centre</translation>
    </message>
    <message>
        <source>成员中心正在准备中。</source>
        <translation>The member centre is being prepared.</translation>
    </message>
    <message>
        <source>尚未设置呼号</source>
        <translation>No callsign set</translation>
    </message>
    <message>
        <source>需补充证据</source>
        <translation>More evidence needed</translation>
    </message>
    <message>
        <source>待审核</source>
        <translation>Pending review</translation>
    </message>
    <message>
        <source>已批准</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>未批准</source>
        <translation>Not approved</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>已排班</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>登机中</source>
        <translation>Boarding</translation>
    </message>
    <message>
        <source>已登机</source>
        <translation>Boarded</translation>
    </message>
    <message>
        <source>滑行去跑道</source>
        <translation>Taxiing to runway</translation>
    </message>
    <message>
        <source>飞行中</source>
        <translation>In flight</translation>
    </message>
    <message>
        <source>备降</source>
        <translation>Diverted</translation>
    </message>
    <message>
        <source>延误</source>
        <translation>Delayed</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>滑行去停机位</source>
        <translation>Taxiing to gate</translation>
    </message>
    <message>
        <source>已到达</source>
        <translation>Arrived</translation>
    </message>
    <message>
        <source>客运</source>
        <translation>Passenger</translation>
    </message>
    <message>
        <source>包机</source>
        <translation>Charter</translation>
    </message>
    <message>
        <source>货运</source>
        <translation>Cargo</translation>
    </message>
    <message>
        <source>训练</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>试飞</source>
        <translation>Test flight</translation>
    </message>
    <message>
        <source>医疗急救</source>
        <translation>Medical</translation>
    </message>
    <message>
        <source>军用</source>
        <translation>Military</translation>
    </message>
    <message>
        <source>公务/VIP</source>
        <translation>Business/VIP</translation>
    </message>
    <message>
        <source>人道救援</source>
        <translation>Humanitarian</translation>
    </message>
    <message>
        <source>通用航空</source>
        <translation>General aviation</translation>
    </message>
    <message>
        <source>航展</source>
        <translation>Air show</translation>
    </message>
    <message>
        <source>其他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>在地面</source>
        <translation>On the ground</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>维护中</source>
        <translation>In maintenance</translation>
    </message>
    <message>
        <source>处理中</source>
        <translation>Processing</translation>
    </message>
    <message>
        <source>未通过</source>
        <translation>Rejected</translation>
    </message>
    <message>
        <source>待人工核查，请勿重复申请</source>
        <translation>Awaiting manual check, please don't apply again</translation>
    </message>
    <message>
        <source>请求超时，请检查网络连接后重试。</source>
        <translation>The request timed out. Check your connection and try again.</translation>
    </message>
    <message>
        <source>连接在回答收完之前中断，请检查网络连接后重试。</source>
        <translation>The connection broke off before the whole answer arrived. Check your connection and try again.</translation>
    </message>
    <message>
        <source>请求未完成（%@），请稍后重试。</source>
        <translation>The request could not be completed (%@). Please try again later.</translation>
    </message>
    <message>
        <source>服务器数据格式暂时无法识别，请刷新后重试。</source>
        <translation>The server's data could not be read right now. Refresh and try again.</translation>
    </message>
    <message>
        <source>无效的接口地址。</source>
        <translation>Invalid service address.</translation>
    </message>
    <message>
        <source>服务器响应无效。</source>
        <translation>The server's response was invalid.</translation>
    </message>
    <message>
        <source>重定向次数过多。</source>
        <translation>Too many redirects.</translation>
    </message>
    <message>
        <source>此账号当前不可使用成员中心。</source>
        <translation>This account can't use the member centre at the moment.</translation>
    </message>
    <message>
        <source>退出登录未完成，请重试。</source>
        <translation>Signing out did not finish. Please try again.</translation>
    </message>
    <message>
        <source>无法确认账号状态。</source>
        <translation>The account status could not be confirmed.</translation>
    </message>
    <message>
        <source>会话已过期，请重新登录。</source>
        <translation>Your session has expired. Please sign in again.</translation>
    </message>
    <message>
        <source>账号状态暂时不可用，请重试。</source>
        <translation>The account status is unavailable right now. Please try again.</translation>
    </message>
    <message>
        <source>图片格式无效。</source>
        <translation>Invalid picture format.</translation>
    </message>
    <message>
        <source>登录已过期，请重新登录。</source>
        <translation>Your sign-in has expired. Please sign in again.</translation>
    </message>
    <message>
        <source>保存的登录信息无法读取，请重新登录。</source>
        <translation>The saved sign-in could not be read. Please sign in again.</translation>
    </message>
    <message>
        <source>本地会话文件无法读写：%@</source>
        <translation>The local session file could not be read or written: %@</translation>
    </message>
    <message>
        <source>系统钥匙串暂时不可用，请解锁设备后重试。</source>
        <translation>The system keychain is unavailable right now. Unlock your device and try again.</translation>
    </message>
    <message>
        <source>每次最多上传 6 张截图。</source>
        <translation>You can upload at most 6 screenshots at a time.</translation>
    </message>
    <message>
        <source>无效表单字段。</source>
        <translation>Invalid form field.</translation>
    </message>
    <message>
        <source>请选择 JPG、PNG 或 WebP 图片，每张不超过 2 MB。</source>
        <translation>Choose JPG, PNG or WebP pictures of no more than 2 MB each.</translation>
    </message>
    <message>
        <source>数据格式不正确，无法读取。</source>
        <translation>The data couldn't be read because it isn't in the correct format.</translation>
    </message>
    <message>
        <source>发生未知错误。</source>
        <translation>An unknown error occurred.</translation>
    </message>
    <message>
        <source>服务器未确认此次操作，请重试。</source>
        <translation>The server did not confirm this. Please try again.</translation>
    </message>
    <message>
        <source>关于 Vornalia</source>
        <translation>About Vornalia</translation>
    </message>
    <message>
        <source>检查更新…</source>
        <translation>Check for updates…</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>版本 %@</source>
        <translation>Version %@</translation>
    </message>
    <message>
        <source>首页</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>审核</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>地图</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>切换账号</source>
        <translation>Switch account</translation>
    </message>
    <message>
        <source>飞行员</source>
        <translation>Pilot</translation>
    </message>
    <message>
        <source>欢迎回来，%@</source>
        <translation>Welcome back, %@</translation>
    </message>
    <message>
        <source>VORNA 成员</source>
        <translation>VORNA member</translation>
    </message>
    <message>
        <source>%@ 需补充证据</source>
        <translation>%@ needs more evidence</translation>
    </message>
    <message>
        <source>请补充截图</source>
        <translation>Please add screenshots</translation>
    </message>
    <message>
        <source>管理员需要更多飞行证明</source>
        <translation>Reviewers need more proof of your flights</translation>
    </message>
    <message>
        <source>下一段旅程，
从这里开始。</source>
        <translation>Your next journey
starts here.</translation>
    </message>
    <message>
        <source>欢迎回到Vornalia成员中心</source>
        <translation>Welcome back to the Vornalia member centre</translation>
    </message>
    <message>
        <source>成员登录</source>
        <translation>Member sign-in</translation>
    </message>
    <message>
        <source>IFC 用户名</source>
        <translation>IFC user name</translation>
    </message>
    <message>
        <source>你的 IFC 用户名</source>
        <translation>Your IFC user name</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>输入密码</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>保持登录 30 天</source>
        <translation>Stay signed in for 30 days</translation>
    </message>
    <message>
        <source>仅在你自己的电脑上开启。登录会话保存在系统钥匙串中，不保存密码。</source>
        <translation>Only turn this on on your own computer. The session is kept in the system keychain; your password is never stored.</translation>
    </message>
    <message>
        <source>正在登录</source>
        <translation>Signing in</translation>
    </message>
    <message>
        <source>登录成员中心</source>
        <translation>Sign in to the Member Centre</translation>
    </message>
    <message>
        <source>使用现有 VORNA 账号，与网站共享成员记录。</source>
        <translation>Use your existing VORNA account; your member record is shared with the website.</translation>
    </message>
    <message>
        <source>还没有账号？请先完成联盟入会申请。此 App 面向已注册成员。</source>
        <translation>No account yet? Complete the membership application first. This app is for registered members.</translation>
    </message>
    <message>
        <source>使用已保存账号</source>
        <translation>Use a saved account</translation>
    </message>
    <message>
        <source>正在确认登录状态</source>
        <translation>Checking your sign-in</translation>
    </message>
    <message>
        <source>正在确认账号要求</source>
        <translation>Checking account requirements</translation>
    </message>
    <message>
        <source>重新登录</source>
        <translation>Sign in again</translation>
    </message>
    <message>
        <source>已批准时长</source>
        <translation>Approved time</translation>
    </message>
    <message>
        <source>已批准报告</source>
        <translation>Approved reports</translation>
    </message>
    <message>
        <source>我的排名</source>
        <translation>My rank</translation>
    </message>
    <message>
        <source>需要你处理</source>
        <translation>Needs your attention</translation>
    </message>
    <message>
        <source>先完善个人资料</source>
        <translation>Complete your profile first</translation>
    </message>
    <message>
        <source>提交飞行报告前，请补全头像、联系邮箱和呼号。</source>
        <translation>Before filing flight reports, add your avatar, contact e-mail and callsign.</translation>
    </message>
    <message>
        <source>完善资料</source>
        <translation>Complete profile</translation>
    </message>
    <message>
        <source>去补充</source>
        <translation>Add evidence</translation>
    </message>
    <message>
        <source>最近一次飞行</source>
        <translation>Latest flight</translation>
    </message>
    <message>
        <source>将要举行的活动</source>
        <translation>Upcoming events</translation>
    </message>
    <message>
        <source>我飞过的航线</source>
        <translation>Routes I have flown</translation>
    </message>
    <message>
        <source>仅显示本人已批准报告的机场连接</source>
        <translation>Only airport pairs from your approved reports</translation>
    </message>
    <message>
        <source>退出登录</source>
        <translation>Sign out</translation>
    </message>
    <message>
        <source>无法连接到服务器，请检查网络连接后重试。</source>
        <translation>Cannot reach the server. Check your network connection and try again.</translation>
    </message>
    <message>
        <source>找不到服务器，请检查网络连接或 DNS 设置后重试。</source>
        <translation>The server cannot be found. Check your network connection or DNS settings and try again.</translation>
    </message>
    <message>
        <source>无法建立安全连接，请检查系统时间和网络环境后重试。</source>
        <translation>A secure connection could not be made. Check the system clock and your network, then try again.</translation>
    </message>
    <message>
        <source>无法通过代理服务器连接，请检查代理设置后重试。</source>
        <translation>The connection through the proxy failed. Check the proxy settings and try again.</translation>
    </message>
    <message>
        <source>网络连接出现问题，请检查网络连接后重试。</source>
        <translation>Something went wrong with the network connection. Check it and try again.</translation>
    </message>
    <message>
        <source>文件名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>文件类型</source>
        <translation>File type</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>%@（已添加 %@ 张）</source>
        <translation>%@ (%@ added)</translation>
    </message>
</context>
</TS>
