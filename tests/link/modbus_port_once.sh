#!/bin/sh
# Every "502" in the C++ sources of app, comm and discovery: exactly one, the port's definition.
found=$(grep -rn "502" --include=*.cpp app comm discovery)
echo "$found"
[ "$(printf '%s\n' "$found" | wc -l)" -eq 1 ] && printf '%s\n' "$found" | grep -q "kModbusTcpPort = 502;"
