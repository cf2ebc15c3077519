<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>有新版本</source>
        <translation>A new version is available</translation>
    </message>
    <message>
        <source>VORNA %@ 已发布，你现在使用的是 %@。</source>
        <translation>VORNA %@ has been released; you are using %@.</translation>
    </message>
    <message>
        <source>下载后打开 DMG，把 VORNA 拖到“应用程序”替换旧版本。</source>
        <translation>After downloading, open the DMG and drag VORNA to Applications to replace the old version.</translation>
    </message>
    <message>
        <source>下载后用系统的软件包管理器安装新的软件包，它会替换旧版本。</source>
        <translation>After downloading, install the new package with your system's package manager; it replaces the old version.</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>稍后</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>检查更新</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>好</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>已是最新版本（%@）。</source>
        <translation>You are using the latest version (%@).</translation>
    </message>
    <message>
        <source>暂时无法检查更新，请稍后再试。</source>
        <translation>Unable to check for updates right now. Please try again later.</translation>
    </message>
    <message>
        <source>无法打开下载页面</source>
        <translation>The download page could not be opened</translation>
    </message>
    <message>
        <source>没有可以打开这个地址的浏览器。请复制地址，在浏览器中打开：</source>
        <translation>No browser could open this address. Copy it and open it in a browser:</translation>
    </message>
    <message>
        <source>复制地址</source>
        <translation>Copy address</translation>
    </message>
</context>
</TS>
