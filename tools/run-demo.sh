#!/usr/bin/env bash
# `make run`: Corvane from the build tree, with corvane-devsim standing in for a device on a
# pseudo-terminal registered as COM5, and the demo's settings kept inside the build tree.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: run 'xvfb-run make run' to start Corvane on a virtual display."
  exit 0
fi

demo="$(cd "$build" && pwd)/demo"
export PROGRAMDATA="$demo/data" XDG_CONFIG_HOME="$demo/config" XDG_RUNTIME_DIR="$demo/run"
config="$PROGRAMDATA/Zelmar Industrial Automation/Communication/Corvane/Config"
mkdir -p "$config" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
if [ ! -f "$config/CVN.ini" ]; then
  printf '[CommConf]\nCommType=0\nComPortNum=5\nBaudRate=19200\nDataLen=8\nParity=2\nStopBits=1\nModbusMode=1\n' \
    > "$config/CVN.ini"
fi

"$bin/corvane-devsim" --com 5 --no-udp --no-tcp \
  --device "code=0x0015 station=1 sub=0x4041" > "$demo/devsim.out" 2> "$demo/devsim.err" &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do grep -q READY "$demo/devsim.out" 2>/dev/null && break; sleep 0.1; done
echo "Simulated device: $(head -n1 "$demo/devsim.out") (registered as COM5)"
"$bin/corvane"
