# shellcheck shell=bash
# Shared helpers for the end-to-end scripts: counting checks, Wine paths, the
# build under test and the products the scripts pack. Each script sources
# this, calls check/pass/fail, and ends with `finish`.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY and BUILD set) or alone.
ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
OUT=${OUT:-$ROOT/out}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=$(dirname "$WINE")/wineserver
PY=${PY:-/usr/bin/python3}
PASSED=0
FAILED=0

pass() { PASSED=$((PASSED + 1)); printf '  ok    %s\n' "$1"; }
fail() { FAILED=$((FAILED + 1)); printf '  FAIL  %s\n' "$1"; }

# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then pass "$what"; else fail "$what"; fi
}

# check_not DESCRIPTION COMMAND...: passes when the command fails.
check_not() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then fail "$what"; else pass "$what"; fi
}

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" = 0 ]
}

# ---------------------------------------------------------------- the build under test

# BUILD names the build whose programs are tested: win64, or win32, the one
# that ships. Its setup stub, demo program, control lab, sample host and
# control DLL are the ones run; the UI driver is the build's own too, because
# it reads tool bars and tree items through structures in the other process's
# memory, laid out as that process's bitness lays them out. The other tools
# (inspect, run-raw) are 64-bit programs that see the machine as a whole.
BUILD=${BUILD:-win64}
case $BUILD in win64 | win32) ;; *) echo "BUILD must be win64 or win32, not $BUILD" >&2; exit 2 ;; esac
BIN=$OUT/$BUILD
# The loader that starts the build's programs. wine64 hands a 32-bit program
# to a second process (start.exe /exec); the 32-bit loader runs it as the very
# process the script started, whose id, exit code and memory are the program's.
if [ "$BUILD" = win32 ]; then BUILD_WINE=$(dirname "$WINE")/wine; else BUILD_WINE=$WINE; fi

# What a 32-bit program writes per machine lands elsewhere on 64-bit Windows,
# and the scripts check it where Windows puts it: HKLM\Software seen by a
# 32-bit process is the 32-bit view, Software\WOW6432Node, and its Program
# Files folder is "Program Files (x86)". HKCU\Software and the file types
# under HKCR are the same for both.
if [ "$BUILD" = win32 ]; then
  MACHINE_SOFTWARE='Software\WOW6432Node'
  PROGRAM_FILES='C:\Program Files (x86)'
else
  MACHINE_SOFTWARE='Software'
  PROGRAM_FILES='C:\Program Files'
fi
# The software list as the setup writes it: per machine (HKLM) and per user (HKCU).
MACHINE_UNINSTALL="$MACHINE_SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
USER_UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The folder of one script's files for the build under test.
work_folder() { printf '%s/e2e/%s/%s' "$OUT" "$BUILD" "$1"; }
# The folder the build's photographs go to, or a folder inside it.
photo_folder() { printf '%s/photos/%s%s' "$OUT" "$BUILD" "${1:+/$1}"; }

# The Windows path of a Linux path inside the prefix's Z: drive.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# The project's tools the scripts drive.
PACK=$OUT/linux/orvalis-pack
INSPECT=$OUT/win64/inspect.exe
DRIVER=$BIN/orvalis-uidriver.exe
RUNRAW=$OUT/win64/run-raw.exe

# A reading of a test tool under Wine. Every reading prints at least a line
# when the tool ran; on a busy machine Wine now and then ends a run before the
# tool has said a word (about one reading in a few thousand, seen as an empty
# answer), so a reading that printed nothing at all is taken once more, and
# the script says so. Actions are never repeated.
read_tool() {  # program, arguments...
  local out status
  out=$("$WINE" "$@" 2>>"${WORK:-$OUT}/wine-tools.err")
  status=$?
  if [ -z "$out" ]; then
    printf '        (%s %s printed nothing, exit %s: read again)\n' "$(basename "$1")" "$2" "$status" >&2
    out=$("$WINE" "$@" 2>>"${WORK:-$OUT}/wine-tools.err")
    status=$?
  fi
  [ -n "$out" ] && printf '%s\n' "$out" | tr -d '\r'
  return "$status"
}
inspect() {
  case $1 in
    reg | file) mkdir -p "${WORK:-$OUT}"; read_tool "$INSPECT" "$@" ;;
    *) "$WINE" "$INSPECT" "$@" 2>/dev/null | tr -d '\r' ;;
  esac
}
# The driver's output without carriage returns, and its own exit status (0
# done, 1 not found or timed out) for the checks that wait on it.
# What Wine itself says when a run of the driver goes wrong goes to
# driver.err in the script's work folder.
driver() {
  mkdir -p "${WORK:-$OUT}"
  case $1 in
    text | items | checked | rect | toolbar | tree | list | controls) read_tool "$DRIVER" "$@" ;;
    *)
      "$WINE" "$DRIVER" "$@" 2>>"${WORK:-$OUT}/driver.err" | tr -d '\r'
      return "${PIPESTATUS[0]}"
      ;;
  esac
}
# One key=value fact of the driver's output, as written (escapes kept).
fact() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | head -n1; }
unixpath() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
expect() {  # description, expected, actual
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1"; printf '        expected: %s\n        actual:   %s\n' "$2" "$3"; fi
}

# How long a check waits for the state it expects, in milliseconds. Every
# action of the driver returns once the program has taken it; what the
# program shows afterwards may still come later (an echo box, a timer), so a
# check reads until it sees its state and fails with what it last saw.
WAIT_MS=${WAIT_MS:-15000}
crc_of() { $PY -c 'import sys, zlib; d = open(sys.argv[1], "rb").read(); print("%d %08x" % (len(d), zlib.crc32(d)))' "$1"; }

wait_for_file() {  # linux path, seconds
  for _ in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Has inspect.exe open a file without sharing for some seconds, in the
# background (HOLDER names it), and returns once the file is held.
# shellcheck disable=SC2034  # HOLDER is read by the scripts
hold_file() {  # Windows path, seconds
  rm -f "$WORK/hold.txt"
  "$WINE" "$INSPECT" hold "$1" "$2" >"$WORK/hold.txt" 2>/dev/null &
  HOLDER=$!
  wait_for_file "$WORK/hold.txt" 20 && [ "$(tr -d '\r\n' <"$WORK/hold.txt")" = held ] && return 0
  echo "        $1 is not held: $(tr -d '\r' <"$WORK/hold.txt" 2>/dev/null)"
  return 1
}

# Starts $WORK/<name>.exe with an exact command line, without waiting, and
# prints its Windows process id. The id goes through a file: the setup inherits
# the launcher's output, so a pipe would stay open until the setup ends.
start_setup() {  # name, arguments
  rm -f "$WORK/pid.txt"
  "$WINE" "$RUNRAW" --no-wait "$(winpath "$WORK/$1.exe") $2" > "$WORK/pid.txt" 2>/dev/null
  tr -d '\r' < "$WORK/pid.txt" | head -n1
}

# An Xvfb of the script's own on the first free display of a range, unless
# DISPLAY is set already; XVFB_PID names it (empty when none was started).
own_xvfb() {  # first display, last display
  XVFB_PID=
  [ -n "${DISPLAY:-}" ] && return 0
  local d
  for d in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ] && continue
    Xvfb ":$d" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
    export DISPLAY=":$d"
    return 0
  done
}

# Wine's environment for a script's own prefix under $WORK (HOME inside it too).
own_wine_environment() {
  export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
  export XDG_CACHE_HOME=$WORK/home/.cache WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8 WINEARCH=win64
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  mkdir -p "$HOME"
}

# Makes the Wine prefix $1 unless it is there. Under ./dev.sh it is a copy of
# the pristine prefix the run made once ($ORVALIS_WINE_TEMPLATE, with the
# HOME it was made with): program images hard-linked, the rest copied, in a
# fraction of a second. Alone, wineboot makes it (about 18 s). A copy of an
# earlier template (made again since, for a newer Wine for instance) is made
# again, so that Wine never updates the images it shares with the template.
make_prefix() {  # prefix
  local template=${ORVALIS_WINE_TEMPLATE:-}
  if [ -n "$template" ] && [ -f "$template/prefix/system.reg" ]; then
    if [ -f "$1/system.reg" ] && cmp -s "$1/.orvalis-template" "$template/prefix/.orvalis-template"; then
      return 0
    fi
    "$PY" "$ROOT/tests/clone_prefix.py" "$template/prefix" "$template/home" "$1" "$HOME"
  elif [ ! -f "$1/system.reg" ]; then
    wineboot_prefix "$1" || return 1
  fi
  unmanage_windows "$1"
}

# Makes the prefix $1 with wineboot and checks that it finished: its exit
# status and the kernel32 of a complete prefix. A half-made prefix (the X
# server went away, the run was interrupted) is removed, so that the next run
# makes it again instead of failing later for no visible reason.
wineboot_prefix() {  # prefix
  local status=0
  WINEPREFIX=$1 "$WINE" wineboot --init >"$1.wineboot.log" 2>&1 || status=$?
  WINEPREFIX=$1 "$WINESERVER" -w
  if [ "$status" != 0 ] || [ ! -f "$1/drive_c/windows/system32/kernel32.dll" ]; then
    echo "wineboot did not finish the prefix $1 (exit status $status, see $1.wineboot.log); removed it" >&2
    rm -rf "$1"
    return 1
  fi
}

# The prefix $WORK/prefix, made once and kept, with one wineserver kept alive
# for the whole script; own_wine_end stops both it and the script's Xvfb.
own_wine_prefix() {
  own_wine_environment
  export WINEPREFIX=$WORK/prefix
  make_prefix "$WINEPREFIX"
  "$WINESERVER" -p
}
own_wine_end() {
  "$WINESERVER" -k 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  return 0
}

# ---------------------------------------------------------------- control lab

# The control lab ($LAB, a script sets it): started with its arguments and
# waited for (its window's facts go to $WORK/window.txt), closed again, and the
# text of one of its controls by designer name.
start_lab() {  # arguments...
  "$BUILD_WINE" "$LAB" "$@" >"$WORK/lab.log" 2>&1 &
  LAB_PID=$!
  if ! driver wait-window --exe orvalis-controls.exe --title "Orvalis controls" --timeout 20000 >"$WORK/window.txt"; then
    # Said once, with what was running: the checks that follow fail on their own.
    fail "the lab ($*) shows its window within 20 s"
    driver list --exe orvalis-controls.exe --all 2>&1 | sed 's/^/        /'
  fi
}
# Closes the lab and waits for it to end. A lab still running 30 s after its
# close is a fault of its own, and is ended by force so that the next page
# does not find its windows.
stop_lab() {
  driver close --exe orvalis-controls.exe --title "Orvalis controls" >/dev/null
  if ! driver wait-exit --exe orvalis-controls.exe --timeout 30000 >/dev/null; then
    fail "the lab ends within 30 s of being closed"
    "$BUILD_WINE" taskkill /F /IM orvalis-controls.exe >/dev/null 2>&1
    driver wait-exit --exe orvalis-controls.exe --timeout 10000 >/dev/null
  fi
  for _ in $(seq 50); do kill -0 "$LAB_PID" 2>/dev/null || break; sleep 0.1; done
  kill "$LAB_PID" 2>/dev/null
  wait "$LAB_PID" 2>/dev/null
}

# The text of a control of the program $EXE (the lab unless a script names
# another) by designer name, as the driver writes it (escaped): now, or once
# it equals, differs from or holds a text (the last text seen when it does
# not within WAIT_MS).
text_of() { fact "$(driver text --exe "${EXE:-orvalis-controls.exe}" --name "$1")" text; }
text_when() {  # name, wanted
  text_or_error "$(driver text --exe "${EXE:-orvalis-controls.exe}" --name "$1" --until "text=$2" --timeout "$WAIT_MS")"
}
text_holding() {  # name, part
  text_or_error "$(driver text --exe "${EXE:-orvalis-controls.exe}" --name "$1" --until "text~=$2" --timeout "$WAIT_MS")"
}
# The text fact of a reading, or, when the driver never read one, its error
# in brackets, so that a failed check says why it saw nothing.
text_or_error() {  # driver output
  if printf '%s\n' "$1" | grep -q '^text='; then
    fact "$1" text
  elif [ -n "$1" ]; then
    printf '(%s)' "$(fact "$1" error)"
  else
    printf '(the driver printed nothing: see driver.err)'
  fi
}
# The texts of several controls joined by "|" as one check compares them,
# each read once it equals its part of WANTED (all of it for one control).
texts_when() {  # wanted ("|" between the parts), name...
  local rest=$1 joined='' separator='' name
  shift
  if [ $# = 1 ]; then text_when "$1" "$rest"; return; fi
  for name in "$@"; do
    joined+="$separator$(text_when "$name" "${rest%%|*}")"
    separator='|'
    rest=${rest#*|}
  done
  printf '%s' "$joined"
}
# The check that a control (or several, "|" between their texts) comes to show a text.
expect_text() {  # description, expected, name...
  expect "$1" "$2" "$(texts_when "$2" "${@:3}")"
}
# The check box state of a control once it is 0 or 1.
checked_when() {  # name, 0|1
  fact "$(driver checked --exe "${EXE:-orvalis-controls.exe}" --name "$1" --until "checked=$2" --timeout "$WAIT_MS")" checked
}

# A real key pressed in a control (focused by the keyboard first), and
# characters typed into one (WM_CHAR), in the program $EXE; both return once
# the program has taken them.
press() { driver keys --exe "${EXE:-orvalis-controls.exe}" --name "$1" --text "$2" >/dev/null; }
type_in() { driver type --exe "${EXE:-orvalis-controls.exe}" --name "$1" --text "$2" >/dev/null; }

# Photographs a program's window, found by its title, to $PHOTOS/NAME.png.
photograph_window() {  # exe, title, photo name
  local rect x y w h
  rect=$(driver rect --exe "$1" --title "$2")
  x=$(fact "$rect" x) y=$(fact "$rect" y) w=$(fact "$rect" width) h=$(fact "$rect" height)
  driver wait-painted --exe "$1" --title "$2" --timeout "$WAIT_MS" >/dev/null
  rm -f "$PHOTOS/$3.png"
  import -window root -crop "${w}x${h}+${x}+${y}" "$PHOTOS/$3.png" 2>>"$WORK/photo.log"
  check "$3 photographed" test -s "$PHOTOS/$3.png"
}
# The lab's window.
photograph() { photograph_window orvalis-controls.exe "Orvalis controls" "$1"; }

# Xvfb runs no window manager. Unless a prefix says Managed=N, Wine waits for
# one (up to 2 s) each time a top-level window is hidden or destroyed.
# ./dev.sh sets it in the prefixes it makes; a script sets it in its own.
unmanage_windows() {  # prefix
  sed -n '/^\[Software\\\\Wine\\\\X11 Driver\]/,/^$/p' "$1/user.reg" 2>/dev/null | grep -qx '"Managed"="N"' ||
    WINEPREFIX=$1 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# ---------------------------------------------------------------- products

# Deletes registry keys that an earlier run left in the reused prefix.
forget_keys() {  # key...
  local key
  for key in "$@"; do "$WINE" reg delete "$key" /f >/dev/null 2>&1; done
}

# Sets TEMP_WIN, the prefix's %TEMP%, and LAUNCH_RECORD, the Linux path of the
# file in which the demo program records how it was started.
# shellcheck disable=SC2034  # both are read by the scripts
find_launch_record() {
  TEMP_WIN=$("$WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
  LAUNCH_RECORD=$(unixpath "$TEMP_WIN\\OrvalisDemo-launch.txt")
}

# A product folder holding the demo program and the demo product's files.
stage_product() {  # folder
  mkdir -p "$1"
  cp "$BIN/OrvalisDemo.exe" "$1/"
  cp -r "$ROOT/demo/product/." "$1/"
}

# Packs every file of a folder and a descriptor file into a copy of a stub.
pack_files() {  # stub, descriptor file, files folder, output
  "$PACK" --stub "$1" --descriptor "$2" --files "$3" -o "$4"
}

# Copies a packed program with the last byte of one payload stream flipped,
# which its zlib trailer then does not match: the stream of the RT_RCDATA
# resource FILE:<NAME>, found with pefile. Fails when there is no such stream.
damage_stream() {  # packed program, copy, stored name (such as DATA\CUSTOMERS.CSV)
  "$PY" - "$1" "$2" "$3" <<'PY'
import sys, pefile
src, dst, victim = sys.argv[1:4]
pe = pefile.PE(src)
data = bytearray(open(src, "rb").read())
found = False
for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if t.id != 10: continue
    for n in t.directory.entries:
        if n.name is not None and str(n.name) == "FILE:" + victim:
            e = n.directory.entries[0].data.struct
            data[pe.get_offset_from_rva(e.OffsetToData) + e.Size - 1] ^= 0x01
            found = True
if not found:
    sys.exit("no payload stream FILE:" + victim)
open(dst, "wb").write(data)
PY
}

# Packs $WORK/<name>.exe, a setup of the build under test, from a descriptor text (its escapes,
# such as \r\n, expanded into $WORK/<name>.id) and a product folder.
pack() {  # name, descriptor text, [product folder, $PRODUCT by default]
  printf '%b' "$2" > "$WORK/$1.id"
  pack_files "$BIN/OrvalisSetup.exe" "$WORK/$1.id" "${3:-$PRODUCT}" "$WORK/$1.exe" >/dev/null
}
