#!/usr/bin/env bash
# `make run`: Corvane from the build tree with corvane-devsim standing in for the devices: one on a
# pseudo-terminal registered as COM5, one on loopback address 127.0.0.2 (discovery and Modbus TCP)
# with two communication cards. The demo's settings stay inside the build tree. Without a display the
# same searches run offscreen through the real frame: tree and log are printed, and a picture of
# the window is written to <build>/demo.png. `run-demo.sh <build> screenshot` does that on the
# display it is given (make screenshot: a virtual one).
set -euo pipefail
build=${1:-build}
what=${2:-run}
bin="$(cd "$build/bin" && pwd)"
demo="$(cd "$build" && pwd)/demo"
export PROGRAMDATA="$demo/data" XDG_CONFIG_HOME="$demo/config" XDG_RUNTIME_DIR="$demo/run"
config="$PROGRAMDATA/Zelmar Industrial Automation/Communication/Corvane/Config"
mkdir -p "$config" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
if [ ! -f "$config/CVN.ini" ]; then
  printf '[CommConf]\nCommType=0\nComPortNum=5\nBaudRate=19200\nDataLen=8\nParity=2\nStopBits=1\nModbusMode=1\nIPAddress=7F000002\n' \
    > "$config/CVN.ini"
fi

pids=()
stop() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done; }
trap stop EXIT

start_sim() {  # name, options...
  local name=$1; shift
  "$bin/corvane-devsim" "$@" > "$demo/$name.out" 2> "$demo/$name.err" &
  pids+=($!)
  for _ in $(seq 50); do grep -q READY "$demo/$name.out" 2>/dev/null && return 0; sleep 0.1; done
  echo "corvane-devsim ($name) did not start:" >&2
  cat "$demo/$name.err" >&2
  exit 1
}

# Register values, so the modules' tables show a plausible drive and its cards.
smx4041="0x4000:10,0x4001:1,0x4002:0x00A5"
start_sim serial --com 5 --no-udp --no-tcp --device "code=0x0015 station=1 sub=0x4041 \
reg=0x2000:5000,0x2001:150,0x2002:120,0x2003:85,0x2004:0xFFCE,0x2100:4998,$smx4041"
echo "Serial device:   $(head -n1 "$demo/serial.out") (registered as COM5)"
# Modbus TCP keeps its port 502, which needs root; otherwise the devices answer the discovery only.
tcp=(--tcp-port 502)
[ "$(id -u)" -eq 0 ] || tcp=(--no-tcp)
start_sim ethernet --no-pty --udp-bind 127.0.0.2 "${tcp[@]}" \
  --device "code=0x0022 station=1 ip=127.0.0.2 sub=0x4041,0x0001,0x4042 \
reg=0xC000:0x7F00,0xC001:0x0002,0xC002:502,0xC003:30,$smx4041,0x4100:1,0x4101:2,0x4102:8,0x4103:0xFC18"
echo "Ethernet device: $(head -n1 "$demo/ethernet.out") (IP Search to 127.0.0.2)"

picture="$(cd "$build" && pwd)/demo.png"
if [ "$what" = screenshot ]; then
  "$bin/corvane-demo" --ip 127.0.0.2 --screenshot "$picture"
elif [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the searches offscreen (for the window itself: xvfb-run make run)."
  QT_QPA_PLATFORM=offscreen "$bin/corvane-demo" --ip 127.0.0.2 --screenshot "$picture"
else
  echo "Search finds the serial device on COM5; for IP Search choose Ethernet and IP 127.0.0.2 in Communication Setting."
  "$bin/corvane"
fi
