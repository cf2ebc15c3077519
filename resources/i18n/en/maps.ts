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
</context>
</TS>
