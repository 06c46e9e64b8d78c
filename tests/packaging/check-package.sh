#!/usr/bin/env bash
# Checks the Debian package `make deb` made: lintian without errors, the desktop entry and the
# AppStream metadata valid, the project file type known, the file list as expected, the
# maintainer script making the settings folder as intended, and the program unpacked into a
# temporary root and run as an ordinary user: --version and --help, a start with every module
# loaded, the desktop entry's command opening a project, and a second start handing its project
# to the first copy.
# usage: check-package.sh DEB EXPECTED-FILE-LIST TEST-USER BUILT-PROGRAM
set -euo pipefail
deb=$1 expected=$2 user=$3 built=$4
skip=77

if [ ! -f "$deb" ]; then echo "no package $deb: make deb (make test builds it)"; exit $skip; fi
if [ "$deb" -ot "$built" ]; then echo "the package is older than the program: make deb"; exit $skip; fi
version=$(dpkg-deb -f "$deb" Version)

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

tmp=$(mktemp -d /tmp/cvn-package.XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
chmod 755 "$tmp"
root=$tmp/root

# --- the package itself -------------------------------------------------------------------
if lintian --fail-on error "$deb" > "$tmp/lintian" 2>&1; then
  pass "lintian: no error ($(grep -c '^W:' "$tmp/lintian") warnings)"
else
  fail "lintian reports errors"
fi
grep -v 'root privileges' "$tmp/lintian" || true

dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$tmp/control"
dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $6 }' | sed 's#/$##' | grep -v '^$' | sort > "$tmp/files"
if diff -u <(sort "$expected") "$tmp/files"; then pass "file list"; else fail "file list differs from $expected"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libstdc++6; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

desktop=$(ls "$root"/usr/share/applications/*.desktop)
desktop-file-validate "$desktop" && pass "desktop-file-validate" || fail "desktop-file-validate"
appstreamcli validate --no-net --no-color "$root"/usr/share/metainfo/*.metainfo.xml && pass "appstreamcli validate" ||
  fail "appstreamcli validate"

# The project type: *.cvn and the files the program writes (by their first bytes) are
# application/x-corvane-project, and the desktop entry handles it.
cp -r "$root/usr/share/mime" "$tmp/mime"
update-mime-database "$tmp/mime" > /dev/null 2>&1
grep -q '^[0-9]*:application/x-corvane-project:\*\.cvn$' "$tmp/mime/globs2" && pass "*.cvn glob" || fail "no *.cvn glob"
grep -aq 'Corvane.exe' "$tmp/mime/magic" && pass "project magic" || fail "no project magic"
grep -q '^MimeType=.*application/x-corvane-project;' "$desktop" && pass "desktop entry handles projects" ||
  fail "the desktop entry does not name the project type"

# The maintainer script, run against the temporary root: the settings folder group dialout,
# writable by the group, new files kept in the group.
settings="$root/var/lib/Zelmar Industrial Automation/Communication/Corvane/Config"
if [ "$(id -u)" = 0 ]; then
  DPKG_ROOT=$root sh "$tmp/control/postinst" configure
  [ "$(stat -c '%G %a' "$settings")" = "dialout 2775" ] && pass "postinst: settings folder dialout 2775" ||
    fail "postinst made the settings folder $(stat -c '%U:%G %a' "$settings" 2>&1)"
fi

# --- the installed program, as an ordinary user --------------------------------------------
home=$tmp/home
mkdir -p "$home/config" "$home/run" "$tmp/projects/Plant A"
chmod 700 "$home/run"
if [ "$(id -u)" = 0 ]; then
  id "$user" >/dev/null 2>&1 || { fail "no user $user: make test creates it"; exit 1; }
  chown -R "$user" "$home" "$tmp/projects"
  as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups)
else
  as_user=()
  mkdir -p "$settings"
fi
# Nothing from the caller's session; a display only where it is asked for. The command execs
# all the way down, so a program started in the background keeps the shell's $!.
environment=(env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$home" LANG=C.UTF-8 PROGRAMDATA="$root/var/lib"
             XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run")
run() { "${as_user[@]}" "${environment[@]}" "$@"; }
expected_user=$(id -un)
[ "$(id -u)" = 0 ] && expected_user=$user

out=$(run corvane --version) && [ "$out" = "Corvane $version" ] && pass "--version: $out" ||
  fail "--version printed '$out'"
out=$(run corvane --help) && [[ $out == "Usage: corvane"* ]] && pass "--help without a display" ||
  fail "--help printed '$out'"

# A project as the program writes it: header, records (code, name, data length, no data),
# record count, then the CRC-16 (Modbus) of everything before it, low byte first.
write_project() {
  python3 - "$@" <<'EOF'
import struct, sys
def counted(text): return bytes([len(text)]) + text.encode()
path, records = sys.argv[1], sys.argv[2:]
body = counted("Corvane.exe") + counted("1.23") + struct.pack("<i", len(records) // 2)
for code, name in zip(records[::2], records[1::2]):
    body += counted(code) + counted(name) + struct.pack("<i", 0)
crc = 0xFFFF
for byte in body:
    crc ^= byte
    for _ in range(8):
        crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
open(path, "wb").write(body + struct.pack("<H", crc))
EOF
}
# The first opens nothing (no save prompt waits when the second one arrives), the second a module.
project1="$tmp/projects/Plant A/line 1.cvn"
project2="$tmp/projects/Plant A/line 2.cvn"
write_project "$project1"
write_project "$project2" 0203 CP203
[ "$(id -u)" = 0 ] && chown "$user" "$project1" "$project2"

# The command line from its launcher: its version, and a project checked with the installed catalogue.
out=$(run corvane-cli --version) && [ "$out" = "corvane-cli $version" ] && pass "corvane-cli --version: $out" ||
  fail "corvane-cli --version printed '$out'"
out=$(run corvane-cli project check "$project2") && [[ $out == *": valid, 1 module record(s)" ]] &&
  pass "corvane-cli checks a project with the installed catalogue" || fail "corvane-cli project check printed '$out'"

# Waits up to 20 s for a command to succeed.
wait_for() { for _ in $(seq 200); do "$@" && return 0; sleep 0.1; done; return 1; }
recent_has() { grep -qF "$1" "$home/config/Zelmar/user.reg" 2>/dev/null; }
maps_have_modules() {
  local maps
  maps=$(cat "/proc/$1/maps" 2>/dev/null) || return 1
  for module in "${modules[@]}"; do [[ $maps == *"/usr/lib/corvane/$module"* ]] || return 1; done
}
# The configuration modules and both communication libraries.
mapfile -t modules < <(grep '^/usr/lib/corvane/[^/]*\.so$' "$expected" | xargs -n1 basename)

# The desktop entry's command with the project in place of %f, as a file manager runs it.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
read -r -a command <<< "${exec_line/\%f/}"
"${as_user[@]}" "${environment[@]}" QT_QPA_PLATFORM=offscreen "${command[@]}" "$project1" > "$tmp/first.log" 2>&1 &
first=$!
pids+=("$first")
wait_for maps_have_modules "$first" && pass "started as $expected_user, loaded ${modules[*]}" ||
  fail "not every module loaded: $(grep -o '/usr/lib/corvane/[^ ]*' "/proc/$first/maps" 2>/dev/null | sort -u | xargs)"
[ "$(stat -c %U "/proc/$first")" = "$expected_user" ] || fail "the program does not run as $expected_user"
wait_for recent_has "$project1" && pass "the desktop entry's command opened the project" ||
  fail "the project handed over by the desktop entry's command was not opened"

# A second start with another project: it ends, and the first copy opens that project.
if run QT_QPA_PLATFORM=offscreen timeout 20 corvane "$project2" > "$tmp/second.log" 2>&1; then
  pass "the second start ended"
else
  fail "the second start did not end cleanly: $(cat "$tmp/second.log")"
fi
wait_for recent_has "$project2" && pass "the first copy opened the project of the second start" ||
  fail "the project of the second start was not opened"

kill -TERM "$first"
if wait "$first"; then pass "SIGTERM ended the program cleanly"; else fail "exit status $? after SIGTERM"; fi
pids=()
[ -s "$tmp/first.log" ] && sed 's/^/  program: /' "$tmp/first.log"

echo "$failures failed"
[ "$failures" = 0 ]
