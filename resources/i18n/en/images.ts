<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>已上传截图 %@</source>
        <translation>Uploaded screenshot %@</translation>
    </message>
    <message>
        <source>飞机图片暂时无法加载，请稍后重试。</source>
        <translation>The aircraft picture can’t be loaded right now. Please try again later.</translation>
    </message>
    <message>
        <source>飞机图片：%@，%@</source>
        <translation>Aircraft picture: %@, %@</translation>
    </message>
    <message>
        <source>重新加载图片</source>
        <translation>Reload picture</translation>
    </message>
    <message>
        <source>暂无对应涂装图片</source>
        <translation>No picture of this livery yet</translation>
    </message>
</context>
</TS>
