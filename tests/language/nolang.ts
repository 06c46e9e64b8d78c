<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>Strings</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
</context>
</TS>
