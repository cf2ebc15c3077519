<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>3 位数字</source>
        <translation>3 digits</translation>
    </message>
    <message>
        <source>Discord</source>
        <translation>Discord</translation>
    </message>
    <message>
        <source>Discord 用户名</source>
        <translation>Discord user name</translation>
    </message>
    <message>
        <source>Discord 用户名填“用户名”，不是显示名称或服务器昵称，在 Discord 里点自己的头像就能看到；加入 Discord 服务器验证时机器人会核对它。可以不填。新呼号为 3 位数字；原有 4 位呼号可保留。呼号占用情况由服务端检查。</source>
        <translation>For Discord, enter your user name, not your display name or server nickname; click your own avatar in Discord to see it. The bot checks it when you verify on the Discord server. It may stay empty. New callsigns have 3 digits; an existing 4-digit callsign may be kept. The service checks whether a callsign is taken.</translation>
    </message>
    <message>
        <source>上传头像</source>
        <translation>Upload avatar</translation>
    </message>
    <message>
        <source>使用 IFC 头像</source>
        <translation>Use IFC avatar</translation>
    </message>
    <message>
        <source>保存并进入成员中心</source>
        <translation>Save and enter the Member Centre</translation>
    </message>
    <message>
        <source>保存资料</source>
        <translation>Save profile</translation>
    </message>
    <message>
        <source>再次输入新密码</source>
        <translation>New password again</translation>
    </message>
    <message>
        <source>呼号</source>
        <translation>Callsign</translation>
    </message>
    <message>
        <source>完成账号设置</source>
        <translation>Finish account set-up</translation>
    </message>
    <message>
        <source>密码已更新</source>
        <translation>Password updated</translation>
    </message>
    <message>
        <source>当前密码</source>
        <translation>Current password</translation>
    </message>
    <message>
        <source>微信名</source>
        <translation>WeChat name</translation>
    </message>
    <message>
        <source>新密码</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>新密码至少 12 个字符，最多 72 字节，且与当前密码不同。修改后其他设备将退出登录。</source>
        <translation>The new password needs at least 12 characters, at most 72 bytes, and must differ from the current one. Other devices are signed out after the change.</translation>
    </message>
    <message>
        <source>更新密码</source>
        <translation>Update password</translation>
    </message>
    <message>
        <source>联系邮箱</source>
        <translation>Contact e-mail</translation>
    </message>
    <message>
        <source>设置密码并继续</source>
        <translation>Set password and continue</translation>
    </message>
    <message>
        <source>设置新密码</source>
        <translation>Set a new password</translation>
    </message>
    <message>
        <source>请先上传头像，填写微信名及联系邮箱，完成账号设置。</source>
        <translation>Upload an avatar and enter your WeChat name and contact e-mail to finish setting up your account.</translation>
    </message>
    <message>
        <source>资料已保存</source>
        <translation>Profile saved</translation>
    </message>
    <message>
        <source>选择后点击保存上传。图片会转换为不超过 512 KB 的 JPEG。</source>
        <translation>After choosing, press Save to upload. The picture becomes a JPEG of at most 512 KB.</translation>
    </message>
    <message>
        <source>邮件中的临时密码</source>
        <translation>Temporary password from the e-mail</translation>
    </message>
    <message>
        <source>首次登录请将邮件中的临时密码改为自己的密码。</source>
        <translation>On your first sign-in, replace the temporary password from the e-mail with your own.</translation>
    </message>
    <message>
        <source>无法读取 IFC 头像，请稍后重试或上传头像。</source>
        <translation>Could not read your IFC avatar. Try again later or upload an avatar.</translation>
    </message>
    <message>
        <source>请先补全头像、微信名和联系邮箱。</source>
        <translation>Add an avatar, your WeChat name and a contact e-mail first.</translation>
    </message>
    <message>
        <source>请检查密码长度、两次输入是否一致，以及是否与原密码不同。</source>
        <translation>Check the password's length, that both entries match, and that it differs from the current password.</translation>
    </message>
    <message>
        <source>App 的语言跟随系统语言设置，下次打开时生效。</source>
        <translation>The app's language follows the system's language setting and takes effect the next time it opens.</translation>
    </message>
    <message>
        <source>IF 等级</source>
        <translation>IF Grade</translation>
    </message>
    <message>
        <source>Logbook</source>
        <translation>Logbook</translation>
    </message>
    <message>
        <source>VORNA</source>
        <translation>VORNA</translation>
    </message>
    <message>
        <source>Vornalia成员中心</source>
        <translation>Vornalia Member Centre</translation>
    </message>
    <message>
        <source>个人主页</source>
        <translation>My page</translation>
    </message>
    <message>
        <source>个人信息</source>
        <translation>Personal information</translation>
    </message>
    <message>
        <source>主题</source>
        <translation>Theme</translation>
    </message>
    <message>
        <source>使用条款</source>
        <translation>Terms of use</translation>
    </message>
    <message>
        <source>加入时间</source>
        <translation>Joined</translation>
    </message>
    <message>
        <source>图片按需下载，磁盘缓存额度 64 MB；清除后查看时会重新下载。</source>
        <translation>Pictures are downloaded as needed, with up to 64 MB cached on disk; after clearing they are downloaded again when viewed.</translation>
    </message>
    <message>
        <source>在系统设置中更改语言，App 会在下次打开时使用新语言。</source>
        <translation>Change the language in the system settings; the app uses the new language the next time it opens.</translation>
    </message>
    <message>
        <source>在线飞行次数</source>
        <translation>Online flights</translation>
    </message>
    <message>
        <source>多人模式累计数据，与 VORNA PIREP 独立。缓存最多 5 分钟。</source>
        <translation>Multiplayer totals, separate from VORNA PIREPs. Cached for up to 5 minutes.</translation>
    </message>
    <message>
        <source>已清除</source>
        <translation>Cleared</translation>
    </message>
    <message>
        <source>已登录 🟢</source>
        <translation>Signed in 🟢</translation>
    </message>
    <message>
        <source>我的 IF 记录</source>
        <translation>My IF record</translation>
    </message>
    <message>
        <source>我的联盟记录</source>
        <translation>My Vornalia record</translation>
    </message>
    <message>
        <source>所属组织：</source>
        <translation>Organisation: </translation>
    </message>
    <message>
        <source>收起</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>暂时无法查询，请稍后重试。</source>
        <translation>Cannot be looked up right now. Try again later.</translation>
    </message>
    <message>
        <source>最近提交</source>
        <translation>Last report</translation>
    </message>
    <message>
        <source>服务</source>
        <translation>Service</translation>
    </message>
    <message>
        <source>未找到关联的 IF 账号。</source>
        <translation>No linked IF account was found.</translation>
    </message>
    <message>
        <source>未设置</source>
        <translation>Not set</translation>
    </message>
    <message>
        <source>本机账号（最多两个）</source>
        <translation>Accounts on This Computer (at most two)</translation>
    </message>
    <message>
        <source>条款与隐私</source>
        <translation>Terms and privacy</translation>
    </message>
    <message>
        <source>条款文本暂时无法读取，请访问 %@ 查看。</source>
        <translation>The text cannot be read right now. Please read it at %@.</translation>
    </message>
    <message>
        <source>正在查询…</source>
        <translation>Looking up…</translation>
    </message>
    <message>
        <source>添加账号</source>
        <translation>Add account</translation>
    </message>
    <message>
        <source>清除飞机图片缓存</source>
        <translation>Clear aircraft picture caches</translation>
    </message>
    <message>
        <source>点击登录</source>
        <translation>Click to sign in</translation>
    </message>
    <message>
        <source>版本</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>登录会话只保存在这台电脑的当前用户下，不保存密码。过期后需要重新登录。移除账号只清除本机保存。</source>
        <translation>Sessions are kept only for the current user of this computer, never the password. An expired session needs a new sign-in. Removing an account only clears what this computer keeps.</translation>
    </message>
    <message>
        <source>登录并保存</source>
        <translation>Sign in and save</translation>
    </message>
    <message>
        <source>白色</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>着陆次数</source>
        <translation>Landings</translation>
    </message>
    <message>
        <source>移除保存的账号 %@</source>
        <translation>Remove saved account %@</translation>
    </message>
    <message>
        <source>刷新个人主页</source>
        <translation>Refresh my page</translation>
    </message>
    <message>
        <source>刷新 IF 记录</source>
        <translation>Refresh IF record</translation>
    </message>
    <message>
        <source>简体</source>
        <translation>Simplified</translation>
    </message>
    <message>
        <source>繁體（台灣）</source>
        <translation>Traditional (Taiwan)</translation>
    </message>
    <message>
        <source>繁體（香港）</source>
        <translation>Traditional (Hong Kong)</translation>
    </message>
    <message>
        <source>经验值</source>
        <translation>Experience</translation>
    </message>
    <message>
        <source>编辑个人资料</source>
        <translation>Edit profile</translation>
    </message>
    <message>
        <source>联盟排名</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Accounts</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>软件信息</source>
        <translation>Application information</translation>
    </message>
    <message>
        <source>还没有保存的账号</source>
        <translation>No saved accounts yet</translation>
    </message>
    <message>
        <source>违规次数</source>
        <translation>Violations</translation>
    </message>
    <message>
        <source>退出当前账号</source>
        <translation>Sign out of this account</translation>
    </message>
    <message>
        <source>隐私说明</source>
        <translation>Privacy statement</translation>
    </message>
    <message>
        <source>飞行小时</source>
        <translation>Flight hours</translation>
    </message>
    <message>
        <source>黑色</source>
        <translation>Dark</translation>
    </message>
</context>
</TS>
