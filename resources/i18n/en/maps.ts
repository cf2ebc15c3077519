<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>%@ 公里</source>
        <translation>%@ km</translation>
    </message>
    <message>
        <source>%@ 米</source>
        <translation>%@ m</translation>
    </message>
    <message>
        <source>还没有已批准的航线</source>
        <translation>No Approved Routes Yet</translation>
    </message>
    <message>
        <source>飞过的机场将连成你的航线图。</source>
        <translation>The airports you fly will join up into your route map.</translation>
    </message>
    <message numerus="yes">
        <source>本人已批准航线地图，共 %@ 条航线</source>
        <translation>
            <numerusform>Map of my approved routes, %@ route</numerusform>
            <numerusform>Map of my approved routes, %@ routes</numerusform>
        </translation>
    </message>
    <message>
        <source>显示全部航线</source>
        <translation>Show all routes</translation>
    </message>
    <message>
        <source>全屏查看航线</source>
        <translation>View routes full screen</translation>
    </message>
    <message>
        <source>%@ 架飞机</source>
        <translation>%@ aircraft</translation>
    </message>
    <message>
        <source>· 更新于 %@</source>
        <translation>· updated %@</translation>
    </message>
    <message>
        <source>普通地图</source>
        <translation>Standard map</translation>
    </message>
    <message>
        <source>卫星地图</source>
        <translation>Satellite map</translation>
    </message>
    <message>
        <source>演示航班</source>
        <translation>Demo flights</translation>
    </message>
    <message>
        <source>停止演示</source>
        <translation>Stop demo</translation>
    </message>
    <message>
        <source>我的航班：%@</source>
        <translation>My flight: %@</translation>
    </message>
    <message>
        <source>我的航班（%@）</source>
        <translation>My flights (%@)</translation>
    </message>
    <message>
        <source>在线</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>先显示上次保存的数据，正在获取最新位置…</source>
        <translation>Showing the last saved data while the latest positions load…</translation>
    </message>
    <message>
        <source>15 分钟没有操作，已暂停自动刷新。移动地图或点“刷新”继续。</source>
        <translation>Auto-refresh paused after 15 minutes without activity. Move the map or click “Refresh” to continue.</translation>
    </message>
    <message>
        <source>部分数据暂时不可用，位置可能延迟</source>
        <translation>Some data is unavailable right now; positions may lag</translation>
    </message>
    <message>
        <source>当前没有可显示的联盟航班。</source>
        <translation>No Vornalia flights to show right now.</translation>
    </message>
    <message>
        <source>暂时取不到最新数据，地图显示的是之前的数据，可以点“刷新”重试。</source>
        <translation>The latest data can't be loaded right now; the map shows earlier data. Click “Refresh” to try again.</translation>
    </message>
    <message>
        <source>暂未找到你的在线航班；检测到航班后会自动显示。</source>
        <translation>No online flight of yours was found yet; it will show as soon as one is detected.</translation>
    </message>
    <message>
        <source>我的航班</source>
        <translation>My Flights</translation>
    </message>
    <message>
        <source>搜索航班</source>
        <translation>Search Flights</translation>
    </message>
    <message>
        <source>%@，%@，查看飞行详情</source>
        <translation>%@, %@, view flight details</translation>
    </message>
    <message>
        <source>飞机</source>
        <translation>Aircraft</translation>
    </message>
</context>
</TS>
