<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Vorna</name>
    <message>
        <source>未知呼号</source>
        <translation>Unknown callsign</translation>
    </message>
    <message>
        <source>航班</source>
        <translation>Flight</translation>
    </message>
    <message>
        <source>服务器：%@</source>
        <translation>Server: %@</translation>
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
        <source>%@ 架飞机</source>
        <translation>%@ aircraft</translation>
    </message>
    <message>
        <source>· 更新于 %@</source>
        <translation>· updated %@</translation>
    </message>
    <message>
        <source>我的航班：%@</source>
        <translation>My flight: %@</translation>
    </message>
    <message>
        <source>在线</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>我的航班（%@）</source>
        <translation>My flights (%@)</translation>
    </message>
    <message>
        <source>我的航班</source>
        <translation>My Flights</translation>
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
        <source>停止演示</source>
        <translation>Stop demo</translation>
    </message>
    <message>
        <source>演示航班</source>
        <translation>Demo flights</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>高度</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>地速</source>
        <translation>Ground speed</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>搜索航班</source>
        <translation>Search Flights</translation>
    </message>
    <message>
        <source>呼号或 IFC 用户名</source>
        <translation>Callsign or IFC user name</translation>
    </message>
    <message>
        <source>筛选</source>
        <translation>Filters</translation>
    </message>
    <message>
        <source>清除筛选</source>
        <translation>Clear filters</translation>
    </message>
    <message>
        <source>没有“%@”的结果</source>
        <translation>No results for “%@”</translation>
    </message>
    <message>
        <source>无结果</source>
        <translation>No results</translation>
    </message>
    <message>
        <source>请检查拼写或尝试新的搜索。</source>
        <translation>Check the spelling or try a new search.</translation>
    </message>
</context>
</TS>
