#!/usr/bin/env bash
# Development commands of orvalis-setup. Each one installs what it needs first.
#   ./dev.sh deps    install the toolchains, Wine and libraries that are missing (Debian 12, as root),
#                    and Debian's wine32 where the kernel runs 32-bit programs
#   ./dev.sh build [linux|asan|win64|win32]...
#                    build the named trees, all four without a name: native (out/linux), native
#                    under ASan+UBSan (out/linux-asan), Windows x86_64 (out/win64) and i686 (out/win32)
#   ./dev.sh test    build, then run the native tests, replay the fuzz targets' seed corpora in both
#                    native trees, and run the Windows tests under Wine, for the 64-bit build and
#                    beside it the shipped 32-bit one (ORVALIS_NO_IA32=1: as on a machine that runs
#                    no 32-bit programs, whose 32-bit suites are skipped)
#   ./dev.sh demo    build, pack the demo product and show its payload
#   ./dev.sh sdk     build the control package's SDK for both Windows targets:
#                    out/orvalis-controls-sdk-VERSION-win64.zip and -win32.zip (./dev.sh build makes them too)
#   ./dev.sh wine PROGRAM [ARGS...]  run one Windows program in the test Wine (needs a build)
#   ./dev.sh e2e [--build win32] NAME...  run end-to-end scripts of tests/e2e/ in the test Wine (needs a build)
#   ./dev.sh bench [ARGS...]         silent-install benchmark against NSIS and a floor (not part of test)
#   ./dev.sh fuzz [SECONDS] [TARGET...]  build the fuzz targets with clang and run each
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUT=${ORVALIS_OUT:-$ROOT/out}  # ORVALIS_OUT: builds, Wine prefixes and results elsewhere
CACHE=$ROOT/.cache
JOBS=$(nproc)
PY=/usr/bin/python3   # Debian's python, which has python3-pefile

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }
die() { printf 'dev.sh: %s\n' "$*" >&2; exit 1; }

# ---------------------------------------------------------------- deps

DEB_PACKAGES=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64
  libz-mingw-w64-dev zlib1g-dev libjpeg62-turbo-dev googletest libgtest-dev libgmock-dev
  wine wine64 xvfb xauth x11-utils imagemagick fonts-dejavu-core fonts-wine
  python3 python3-pefile dpkg-dev unicode-data
  osslsigncode openssl python3-yaml python3-jsonschema  # orvalis-pack --sign and its tests, winget manifest checks
)

# The packages of the list that are not installed, one a line.
missing_packages() {  # package...
  local p
  for p in "$@"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || echo "$p"
  done
}

on_debian_12() {
  # shellcheck source=/dev/null
  (. /etc/os-release 2>/dev/null && [ "${ID:-}" = debian ] && [ "${VERSION_ID:-}" = 12 ])
}

# Installs the packages that are missing. apt-get runs only as root on Debian
# 12; anywhere else this stops and names what to install.
need_packages() {  # what needs them, package...
  local what=$1; shift
  local missing
  missing=$(missing_packages "$@" | paste -sd' ')
  [ -n "$missing" ] || return 0
  on_debian_12 || die "$what needs packages that are not installed: $missing
dev.sh installs packages only on Debian 12; on this system install these (Debian's names) or their equivalents yourself"
  [ "$(id -u)" = 0 ] || die "$what needs packages that are not installed: $missing
installing them needs root: run ./dev.sh as root, or install them with apt-get install $missing"
  log "installing for $what: $missing"
  # shellcheck disable=SC2086  # one word per package
  apt_install $missing
  missing=$(missing_packages "$@" | paste -sd' ')
  [ -z "$missing" ] || die "still missing after apt-get install: $missing"
}

apt_install() {
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

# libjpeg-turbo for both Windows targets, built once from Debian's source package.
JPEG_SRC_LIST=/etc/apt/sources.list.d/orvalis-deb-src.sources
# The library only decodes the small pictures of rich text fields, inside a
# setup that must stay under 1 MiB: plain C without the SIMD code paths and
# without arithmetic coding, built for size (about 110 KB instead of 320 KB in
# the 32-bit setup), and without its environment overrides, whose sscanf would
# bring the C library's whole scanf along. The folder name changes with these
# options.
JPEG_OPTIONS=(-DCMAKE_BUILD_TYPE=MinSizeRel -DWITH_SIMD=OFF -DWITH_ARITH_DEC=OFF -DWITH_ARITH_ENC=OFF "-DCMAKE_C_FLAGS=-DNO_GETENV -DNO_PUTENV")
jpeg_root() { echo "$CACHE/libjpeg-turbo/$1-min"; }

build_jpeg() {
  local target=$1 toolchain root src
  root=$(jpeg_root "$target")
  [ -f "$root/lib/libjpeg.a" ] && return 0
  case $target in
    win64) toolchain=$ROOT/cmake/mingw-x86_64.cmake ;;
    win32) toolchain=$ROOT/cmake/mingw-i686.cmake ;;
  esac
  src=$CACHE/libjpeg-turbo/src
  if [ ! -f "$src/CMakeLists.txt" ]; then
    { on_debian_12 && [ "$(id -u)" = 0 ]; } ||
      die "libjpeg-turbo for $target is built from Debian 12's source package, which needs root on Debian 12; or put a static build in $root (include/, lib/libjpeg.a)"
    log "fetching Debian's libjpeg-turbo source package"
    if [ ! -f "$JPEG_SRC_LIST" ]; then
      sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$JPEG_SRC_LIST"
      apt-get update -qq
    fi
    rm -rf "$CACHE/libjpeg-turbo/fetch" && mkdir -p "$CACHE/libjpeg-turbo/fetch"
    (cd "$CACHE/libjpeg-turbo/fetch" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1) ||
      die "apt-get source libjpeg-turbo failed"
    local dir
    dir=$(find "$CACHE/libjpeg-turbo/fetch" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
    [ -n "$dir" ] || die "libjpeg-turbo source not found after apt-get source"
    rm -rf "$src" && mv "$dir" "$src" && rm -rf "$CACHE/libjpeg-turbo/fetch"
  fi
  log "building libjpeg-turbo for $target"
  local bdir=$CACHE/libjpeg-turbo/build-$target
  rm -rf "$bdir"
  cmake -S "$src" -B "$bdir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" "${JPEG_OPTIONS[@]}" \
    -DCMAKE_INSTALL_PREFIX="$root" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF >"$bdir.log" 2>&1 ||
    die "libjpeg-turbo configure failed for $target (see $bdir.log)"
  cmake --build "$bdir" -j "$JOBS" >>"$bdir.log" 2>&1 || die "libjpeg-turbo build failed for $target (see $bdir.log)"
  cmake --install "$bdir" >>"$bdir.log" 2>&1 || die "libjpeg-turbo install failed for $target"
  rm -rf "$bdir"
}

# The Debian packages (with wine32 where 32-bit programs run), then
# libjpeg-turbo for the Windows targets given.
deps_for() {  # [win64|win32]...
  need_packages "the build" "${DEB_PACKAGES[@]}"
  probe_32bit
  if [ -z "$RUN32_SKIP" ]; then need_wine32; fi
  local target
  for target in "$@"; do build_jpeg "$target"; done
}

cmd_deps() { deps_for win64 win32; }

# ---------------------------------------------------------------- build

BUILD_TREES=(linux linux-asan win64 win32)

# Configures out/build/<name> every time, so that changed options (CI=true
# turns warnings into errors) take effect; cmake's output goes to the log.
configure() {  # name
  local name=$1
  local bdir=$OUT/build/$name werror=OFF args=()
  [ "${CI:-}" = true ] && werror=ON
  case $name in
    linux) ;;
    # The native suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
    linux-asan)
      args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo
        "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined") ;;
    # The library is looked up again at every configure (-U), so a tree made
    # with other JPEG_OPTIONS does not keep linking the old build.
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -DORVALIS_JPEG_ROOT="$(jpeg_root win64)"
        -U "JPEG_*" -DORVALIS_SDK_DIR="$OUT") ;;
    win32)
      args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DORVALIS_JPEG_ROOT="$(jpeg_root win32)"
        -U "JPEG_*" -DORVALIS_BUILD_TESTS=ON -DORVALIS_SDK_DIR="$OUT") ;;
    *) die "no build tree named $name" ;;
  esac
  # ccache, when installed, keeps rebuilds of unchanged sources cheap.
  command -v ccache >/dev/null && args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  mkdir -p "$OUT/build"
  cmake -S "$ROOT" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$OUT/$name" -DORVALIS_WERROR=$werror "${args[@]}" >"$bdir.configure.log" 2>&1 ||
    { cat "$bdir.configure.log" >&2; die "configure $name failed"; }
}

# Installs what the trees need, configures them, then builds them.
build_trees() {  # tree...
  local name windows=()
  for name in "$@"; do
    case $name in win64 | win32) windows+=("$name") ;; esac
  done
  deps_for "${windows[@]}"
  for name in "$@"; do configure "$name"; done
  for name in "$@"; do
    log "building $name"
    cmake --build "$OUT/build/$name" -j "$JOBS" || die "build $name failed"
  done
}

cmd_build() {  # [linux|asan|win64|win32]... (all four without a name)
  local arg name wanted=" " trees=()
  for arg in "$@"; do
    case $arg in
      linux | win64 | win32) wanted+="$arg " ;;
      asan | linux-asan) wanted+="linux-asan " ;;
      *) die "unknown build '$arg': the builds are linux, asan, win64 and win32" ;;
    esac
  done
  for name in "${BUILD_TREES[@]}"; do
    if [ $# = 0 ] || [[ $wanted == *" $name "* ]]; then trees+=("$name"); fi
  done
  build_trees "${trees[@]}"
}

# ---------------------------------------------------------------- Wine

# An isolated Wine: prefix and HOME inside out/, no desktop integration, one
# persistent wineserver for the whole run.
# ORVALIS_WINE names the folder under out/ (default "wine"), so several people
# can run Wine side by side without stopping each other's server.
WINEDIR=$OUT/${ORVALIS_WINE:-wine}
WINE=/usr/lib/wine/wine64
# The 32-bit loader (Debian's wine32). wine64 hands a 32-bit program to a
# second process (start.exe /exec); started by this one, the program is the
# process that was started, with its exit code and its memory figures.
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver

# The environment of Wine in a folder (prefix/ and home/ inside it).
wine_env_in() {  # folder
  export WINEPREFIX=$1/prefix
  export HOME=$1/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export XDG_DESKTOP_DIR=$HOME/Desktop
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  export WINEARCH=win64
  mkdir -p "$HOME/Desktop"
}
wine_env() { wine_env_in "$WINEDIR"; }

# An Xvfb on the first free display of XVFB_DISPLAYS; the builds' runs take
# ranges of their own, so two that start together never pick the same one.
XVFB_PID=
XVFB_DISPLAYS="90 114"
start_xvfb() {
  [ -n "$XVFB_PID" ] && return 0
  local d
  mkdir -p "$WINEDIR"
  # shellcheck disable=SC2086  # first and last display
  for d in $(seq $XVFB_DISPLAYS); do
    [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ] && continue
    Xvfb ":$d" -screen 0 1280x1024x24 -nolisten tcp >"$WINEDIR/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$d" ] && break
      sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$d"
      return 0
    fi
    XVFB_PID=
  done
  die "no free X display for Xvfb"
}

# Xvfb runs no window manager. A window that Wine leaves to the window manager
# ("managed") makes it wait up to 2 s for one each time such a top-level
# window is hidden or destroyed; with Managed=N Wine handles every window itself.
unmanaged_windows() {  # prefix: has its user registry Managed=N?
  sed -n '/^\[Software\\\\Wine\\\\X11 Driver\]/,/^$/p' "$1/user.reg" 2>/dev/null | grep -qx '"Managed"="N"'
}

# Every prefix of a run is a copy of one pristine prefix that wineboot made
# (tests/clone_prefix.py: program images hard-linked, the rest copied), so a
# test script gets a prefix of its own in a fraction of a second instead of
# about 18 s, and a few megabytes instead of 1.3 GB. The template carries a
# stamp of its making; a prefix copied from another template is copied again.
TEMPLATE=$OUT/wine-template

# Is the template made, complete (a wineboot that did not finish leaves no
# kernel32, or none for 32-bit programs where they run) and of this Wine?
template_complete() {
  local prefix=$TEMPLATE/prefix
  [ -s "$prefix/.orvalis-template" ] && [ -f "$prefix/system.reg" ] &&
    [ -f "$prefix/drive_c/windows/system32/kernel32.dll" ] &&
    { [ -n "$RUN32_SKIP" ] || [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; } &&
    [ "$(tr -dc 0-9 <"$prefix/.update-timestamp" 2>/dev/null)" = "$(stat -c %Y /usr/share/wine/wine.inf 2>/dev/null)" ] &&
    unmanaged_windows "$prefix"
}

wine_template() {
  probe_32bit
  template_complete && return 0
  log "making the Wine prefix that every test prefix copies"
  rm -rf "$TEMPLATE"
  (
    wine_env_in "$TEMPLATE"
    start_xvfb
    local status=0
    "$WINE" wineboot --init >"$TEMPLATE/wineboot.log" 2>&1 || status=$?
    "$WINESERVER" -w
    if [ "$status" = 0 ]; then
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || status=$?
      "$WINESERVER" -w  # the server writes user.reg when it ends
    fi
    kill "$XVFB_PID" 2>/dev/null
    exit "$status"
  ) || true
  date +%s%N > "$TEMPLATE/prefix/.orvalis-template" 2>/dev/null || true
  if ! template_complete; then
    mv "$TEMPLATE/wineboot.log" "$OUT/wineboot-failed.log" 2>/dev/null || true
    rm -rf "$TEMPLATE"
    die "wineboot did not make a complete Wine prefix (see out/wineboot-failed.log); removed it, run again"
  fi
}

# Makes $WINEPREFIX a copy of the template unless it is one already.
wine_prefix() {
  if [ -f "$WINEPREFIX/system.reg" ] && cmp -s "$WINEPREFIX/.orvalis-template" "$TEMPLATE/prefix/.orvalis-template"; then
    return 0
  fi
  "$PY" "$ROOT/tests/clone_prefix.py" "$TEMPLATE/prefix" "$TEMPLATE/home" "$WINEPREFIX" "$HOME" ||
    die "cannot copy the Wine prefix $TEMPLATE/prefix to $WINEPREFIX"
}

wine_start() {
  wine_template
  wine_env
  start_xvfb
  wine_prefix
  "$WINESERVER" -p
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=
}

# ---------------------------------------------------------------- 32-bit programs

# Whether this machine runs 32-bit programs at all depends on its kernel (its
# 32-bit emulation), so a tiny 32-bit Linux program is run: it exits with 42
# where 32-bit programs run. RUN32_SKIP says why they do not, empty when they
# do. ORVALIS_NO_IA32=1 spoils the probe's machine type, which the kernel then
# refuses as one without 32-bit emulation refuses every 32-bit program.
RUN32_SKIP=unprobed
probe_32bit() {
  [ "$RUN32_SKIP" = unprobed ] || return 0
  local dir=$OUT/probe32 status=0 said
  mkdir -p "$dir"
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
  if ! { as --32 "$dir/probe.s" -o "$dir/probe.o" && ld -m elf_i386 "$dir/probe.o" -o "$dir/probe"; } 2>"$dir/build.log"; then
    RUN32_SKIP="the 32-bit probe could not be assembled and linked (see ${dir#"$ROOT"/}/build.log)"
    return 0
  fi
  [ -z "${ORVALIS_NO_IA32:-}" ] || printf '\0\0' | dd of="$dir/probe" bs=1 seek=18 conv=notrunc status=none
  said=$("$dir/probe" 2>&1) || status=$?
  if [ "$status" = 42 ]; then
    RUN32_SKIP=
  else
    said=${said##*: }
    RUN32_SKIP="this machine does not run 32-bit programs (a 32-bit probe ended with $status${said:+: $said})"
  fi
}

# Debian's wine32, from the i386 architecture, where 32-bit programs run.
need_wine32() {
  [ -z "$(missing_packages wine32:i386)" ] && return 0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    on_debian_12 && [ "$(id -u)" = 0 ] ||
      die "the 32-bit tests need Debian's wine32 (the i386 architecture): as root, dpkg --add-architecture i386 and apt-get install wine32:i386"
    log "adding the i386 architecture for Debian's wine32"
    dpkg --add-architecture i386
  fi
  need_packages "the 32-bit tests" wine32:i386
}

# ---------------------------------------------------------------- test

# Each suite's result is a line of a results file: group, suite, passed,
# failed, skipped, seconds and a note; the summary reads them all.
RESULTS_FILE=

now_us() { echo "${EPOCHREALTIME//[!0-9]/}"; }
seconds_since() {  # microseconds
  local us=$(($(now_us) - $1))
  printf '%d.%d' $((us / 1000000)) $((us / 100000 % 10))
}

record() {  # group, suite, passed, failed, skipped, seconds, note
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$RESULTS_FILE"
}

# Runs one GoogleTest program (natively or through Wine) and records its counts.
run_gtest() {  # group, suite, xml, command...
  local group=$1 suite=$2 xml=$3 start; shift 3
  start=$(now_us)
  rm -f "$xml"
  log "$suite"
  local target=$xml
  # A Windows program under Wine takes the report's path as a Windows path.
  case $1 in "$WINE" | "$WINE32") target="Z:${xml//\//\\}" ;; esac
  "$@" --gtest_output="xml:$target" --gtest_brief=1 || true
  if [ ! -f "$xml" ]; then
    record "$group" "$suite" 0 1 0 "$(seconds_since "$start")" "no report"
    return
  fi
  local tests failures errors disabled skipped
  read -r tests failures errors disabled skipped < <($PY - "$xml" <<'PY'
import sys, xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
skipped = sum(1 for c in r.iter("testcase") if c.find("skipped") is not None)
print(r.get("tests"), r.get("failures"), r.get("errors", "0"), r.get("disabled", "0"), skipped)
PY
  )
  local failed=$((failures + errors))
  record "$group" "$suite" $((tests - disabled - failed - skipped)) "$failed" "$skipped" "$(seconds_since "$start")" ""
}

# Runs one shell-level test script; it prints "N passed, N failed" as its last line.
run_script() {  # group, suite, script...
  local group=$1 suite=$2 start seconds; shift 2
  start=$(now_us)
  log "$suite ($group)"
  local output status=0
  output=$("$@" 2>&1) || status=$?
  seconds=$(seconds_since "$start")
  printf '%s\n' "$output"
  local line
  line=$(printf '%s\n' "$output" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n1 || true)
  if [ -z "$line" ]; then
    record "$group" "$suite" 0 1 0 "$seconds" "no count (exit status $status)"
  else
    local p f
    p=${line%% passed*}; f=${line#*passed, }; f=${f%% failed*}
    [ "$status" = 0 ] || [ "$f" != 0 ] || f=1
    record "$group" "$suite" "$p" "$f" 0 "$seconds" ""
  fi
}

# Replays every fuzz target's seed corpus (fuzz/corpus/<target>/) with the
# replay programs of a native tree, one suite per target; each input replayed
# counts as passed.
run_fuzz_replays() {  # group, suite prefix, folder of the programs
  local group=$1 prefix=$2 folder=$3 name
  log "$prefix (${folder#"$ROOT"/})"
  while IFS= read -r name; do run_replay "$group" "$prefix: $name" "$folder/fuzz_$name"; done < <(fuzz_targets)
}

# Runs one replay program; it prints "fuzz_NAME: N inputs from FOLDER".
run_replay() {  # group, suite, program
  local group=$1 suite=$2 program=$3 start seconds output status=0 count= n failed last note
  start=$(now_us)
  if [ ! -x "$program" ]; then
    record "$group" "$suite" 0 1 0 0 "not built: $program"
    return
  fi
  output=$("$program" 2>&1) || status=$?
  seconds=$(seconds_since "$start")
  printf '%s\n' "$output"
  while read -r n; do count=$((${count:-0} + n)); done < <(printf '%s\n' "$output" |
    sed -nE 's/^fuzz_[a-z0-9_]+: ([0-9]+) inputs from .*/\1/p')
  if [ "$status" = 0 ] && [ -n "$count" ]; then
    record "$group" "$suite" "$count" 0 0 "$seconds" ""
  else
    failed=$(printf '%s\n' "$output" | sed -nE 's/^fuzz_[a-z0-9_]+: FAILED on input (.*)/\1/p' | tail -n1)
    if [ -n "$failed" ]; then
      note="failed on ${failed#"$ROOT"/}, exit status $status"
    else
      last=$(printf '%s\n' "$output" | grep . | tail -n1 || true)
      note="exit status $status${last:+: $last}"
    fi
    record "$group" "$suite" 0 1 0 "$seconds" "$note"
  fi
}

# The end-to-end scripts (tests/e2e/*.sh but the shared helpers), and those
# that exercise what ships, which run for the 32-bit build as well: the setup
# (unattended, deploy, faults, payload, large, interactive), the control lab's
# pages, the sample host with the control DLL and the control package's SDK.
e2e_scripts() {
  local script name
  for script in "$ROOT"/tests/e2e/*.sh; do
    name=$(basename "$script" .sh)
    [ "$name" = lib ] || echo "$name"
  done
}
SHIPPED_SCRIPTS=(unattended deploy faults payload large interactive
  entry numbers formula choice tagged tree richedit_editor richedit_fields controls host sdk)
scripts_of() {  # build
  if [ "$1" = win32 ]; then printf '%s\n' "${SHIPPED_SCRIPTS[@]}"; else e2e_scripts; fi
}

# The Wine folder of a build's runs: the 64-bit build's is the usual one.
winedir_of() {  # build
  if [ "$1" = win32 ]; then echo "$OUT/${ORVALIS_WINE:-wine}-win32"; else echo "$OUT/${ORVALIS_WINE:-wine}"; fi
}

# Runs the end-to-end scripts named for a build, in a Wine and an Xvfb of the
# build's own.
run_e2e() {  # group, build, script name...
  local group=$1 build=$2 name; shift 2
  for name in "$@"; do
    run_script "$group" "$name" env ROOT="$ROOT" OUT="$OUT" WINE="$WINE" PY="$PY" BUILD="$build" \
      ORVALIS_WINE_TEMPLATE="$TEMPLATE" bash "$ROOT/tests/e2e/$name.sh"
  done
}

# One build's Windows tests and end-to-end scripts, in a Wine, a prefix and an
# Xvfb of its own, so that the two builds run side by side: nearly all of a
# script's time is waiting for windows, not computing.
run_lane() {  # build
  local build=$1 loader=$WINE name=wine64 scripts
  [ "$build" = win32 ] && loader=$WINE32 name=wine32
  WINEDIR=$(winedir_of "$build")
  XVFB_PID=
  [ "$build" = win32 ] && XVFB_DISPLAYS="115 140"
  unset DISPLAY
  wine_start
  trap wine_stop EXIT
  run_gtest "$build" "Windows tests ($name)" "$OUT/results/$build.xml" "$loader" "$OUT/$build/orvalis_tests.exe"
  # The C interface as a host program meets it: every function called through
  # the DLL; the setup's exports are only looked up (an .exe loaded as a
  # library has no bound imports and no started runtime, see README).
  run_gtest "$build" "C interface, OrvalisControls.dll ($name)" "$OUT/results/$build-capi-dll.xml" \
    "$loader" "$OUT/$build/orvalis_capi_tests.exe"
  run_gtest "$build" "C interface, OrvalisSetup.exe ($name)" "$OUT/results/$build-capi-setup.xml" \
    "$loader" "$OUT/$build/orvalis_capi_tests.exe" --module=OrvalisSetup.exe \
    --gtest_filter='Module.ExportsEveryFunctionOfTheHeaderAsCodeAndNothingElse'
  mapfile -t scripts < <(scripts_of "$build")
  run_e2e "$build" "$build" "${scripts[@]}"
  wine_stop
  trap - EXIT
}

# Records every suite of a build as skipped, with the reason.
skip_lane() {  # build, reason
  local name
  record "$1" "Windows tests (wine32)" 0 0 1 0 "$2"
  record "$1" "C interface, OrvalisControls.dll (wine32)" 0 0 1 0 "$2"
  record "$1" "C interface, OrvalisSetup.exe (wine32)" 0 0 1 0 "$2"
  while IFS= read -r name; do record "$1" "$name" 0 0 1 0 "$2"; done < <(scripts_of "$1")
}

summary() {  # whole run's start
  $PY - "$RESULTS_FILE" "$(seconds_since "$1")" <<'PY'
import sys
rows = [l.rstrip("\n").split("\t") for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
titles = {"native": None, "win64": "win64, the 64-bit build", "win32": "win32, the shipped 32-bit build"}
total = [0, 0, 0]
width = max([30] + [len(r[1]) + (2 if titles.get(r[0]) else 0) for r in rows])
for group in ["native", "win64", "win32"]:
    mine = [r for r in rows if r[0] == group]
    if not mine:
        continue
    indent = ""
    # A group skipped as a whole for one reason says it once.
    notes = {r[6] for r in mine if r[2] == "0" and r[3] == "0" and r[4] != "0"}
    shared = notes.pop() if len(notes) == 1 and all(r[2] == "0" and r[3] == "0" for r in mine) else None
    if titles[group]:
        print(titles[group] + (": skipped, " + shared if shared else ""))
        indent = "  "
    counts = [0, 0, 0]
    for _, suite, p, f, s, seconds, note in mine:
        p, f, s = int(p), int(f), int(s)
        counts = [counts[0] + p, counts[1] + f, counts[2] + s]
        if p == 0 and f == 0 and s:
            line = "skipped" + ("" if shared else ": " + note)
        else:
            line = "%5d passed, %d failed" % (p, f) + (", %d skipped" % s if s else "") + ("  (%s)" % note if note else "")
        print("%-*s %7s s %s" % (width, indent + suite, seconds, line))
    if titles[group]:
        print("%-*s %7s   %5d passed, %d failed, %d skipped" % (width, indent + group + " in all", "", *counts))
    total = [a + b for a, b in zip(total, counts)]
print("whole run, build included: %s s" % sys.argv[2])
print("%d passed, %d failed, %d skipped" % tuple(total))
sys.exit(1 if total[1] else 0)
PY
}

cmd_test() {
  local start status=0 lane32=
  start=$(now_us)
  build_trees "${BUILD_TREES[@]}"
  mkdir -p "$OUT/results"
  RESULTS_FILE=$OUT/results/suites.tsv
  : >"$RESULTS_FILE"
  run_gtest native "native unit tests" "$OUT/results/native.xml" "$OUT/linux/orvalis_tests"
  run_fuzz_replays native "fuzz replay" "$OUT/linux/fuzz"
  run_gtest native "native, ASan+UBSan" "$OUT/results/native-asan.xml" "$OUT/linux-asan/orvalis_tests"
  run_fuzz_replays native "fuzz replay, ASan+UBSan" "$OUT/linux-asan/fuzz"
  wine_template
  if [ -z "$RUN32_SKIP" ]; then
    log "the 32-bit build's tests run beside the 64-bit build's; their output follows at the end"
    (run_lane win32) >"$OUT/results/win32.log" 2>&1 &
    lane32=$!
    trap 'kill -- -$lane32 2>/dev/null; kill $lane32 2>/dev/null' EXIT
  else
    log "skipping the 32-bit build's tests: $RUN32_SKIP"
    skip_lane win32 "$RUN32_SKIP"
  fi
  (run_lane win64) || record win64 "the rest of the run" 0 1 0 0 "stopped early, exit status $?"
  if [ -n "$lane32" ]; then
    wait "$lane32" || record win32 "the rest of the run" 0 1 0 0 "stopped early, exit status $?"
    trap - EXIT
    log "the 32-bit build's tests (out/results/win32.log)"
    cat "$OUT/results/win32.log"
  fi
  echo
  summary "$start" || status=1
  return $status
}

# ---------------------------------------------------------------- sdk

# The control package's SDK (cmake/OrvalisControlsSdk.cmake) for both Windows
# targets, building only the DLL it holds.
cmd_sdk() {
  local tree
  deps_for win64 win32
  for tree in win64 win32; do
    configure "$tree"
    log "building the control package's SDK for $tree"
    cmake --build "$OUT/build/$tree" -j "$JOBS" --target orvalis-controls-sdk || die "build of the $tree SDK failed"
  done
  ls -l "$OUT"/orvalis-controls-sdk-*.zip >&2
}

# ---------------------------------------------------------------- demo

pack_demo() {  # target (win64|win32), output
  local stage=$OUT/demo/product-$1
  rm -rf "$stage" && mkdir -p "$stage"
  cp -r "$ROOT/demo/product/." "$stage/"
  cp "$OUT/$1/OrvalisDemo.exe" "$stage/"
  "$OUT/linux/orvalis-pack" --stub "$OUT/$1/OrvalisSetup.exe" --descriptor "$ROOT/demo/DISK.ID" --files "$stage" -o "$2"
}

cmd_demo() {
  build_trees linux win64 win32
  mkdir -p "$OUT/demo"
  log "packing the demo product"
  pack_demo win64 "$OUT/demo/Demo-Setup.exe"
  pack_demo win32 "$OUT/demo/Demo-Setup-x86.exe"
  log "payload of out/demo/Demo-Setup.exe"
  "$OUT/linux/orvalis-pack" --list "$OUT/demo/Demo-Setup.exe"
  # The demo has a Wine of its own, so it never disturbs a test run.
  WINEDIR=$OUT/demo/wine
  wine_start
  trap wine_stop EXIT
  local target='C:\Orvalis Demo' inspect=$OUT/win64/inspect.exe
  log "installing unattended: Demo-Setup.exe /U /P:\"$target\" /I /R /L /S /M:ENU"
  "$WINE" "$OUT/win64/run-raw.exe" "Z:${OUT//\//\\}\\demo\\Demo-Setup.exe /U /P:\"$target\" /I /R /L /S /M:ENU" >/dev/null
  log "installed files"
  (cd "$("$WINE" winepath -u "$target" 2>/dev/null)" && find . -type f | sort)
  log "registry"
  "$WINE" reg query 'HKCU\Software\Orvalis\Demo' /s 2>/dev/null | tr -d '\r' | grep -v '^$'
  "$WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Demo' 2>/dev/null | tr -d '\r' | grep -v '^$'
  log "shortcuts (target|arguments|working folder)"
  local link
  while IFS= read -r link; do
    printf '%s\n  %s\n' "${link#"$WINEDIR"/}" \
      "$("$WINE" "$inspect" lnk "$("$WINE" winepath -w "$link" 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')"
  done < <(find "$WINEPREFIX/drive_c" "$HOME" -name 'Orvalis Demo.lnk' 2>/dev/null)
  log "started program"
  sleep 1
  tr -d '\r' < "$("$WINE" winepath -u "$("$WINE" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')\\OrvalisDemo-launch.txt" 2>/dev/null)" 2>/dev/null
  wine_stop
  trap - EXIT
}

# Stops with a plain message when a file of the build is missing.
need_build() {  # file...
  local f
  for f in "$@"; do
    [ -e "$f" ] || die "${f#"$ROOT"/} is missing: run ./dev.sh build first"
  done
}

# Runs one command in the test Wine (isolated prefix, Xvfb), for working by hand:
#   ./dev.sh wine out/win64/orvalis_tests.exe --gtest_filter='Payload*'
# A bare name (cmd, regedit) is one of Wine's own programs.
cmd_wine() {
  [ $# -gt 0 ] || die "usage: ./dev.sh wine PROGRAM.exe [ARGS...]"
  [ -e "$1" ] || [[ $1 != */* ]] || die "$1 does not exist: run ./dev.sh build first"
  wine_start
  trap wine_stop EXIT
  local status=0
  "$WINE" "$@" || status=$?
  wine_stop
  trap - EXIT
  return $status
}

# Runs end-to-end scripts by name in the test Wine, without building first:
#   ./dev.sh e2e payload unattended
#   ./dev.sh e2e --build win32 unattended   (the shipped 32-bit build's programs)
cmd_e2e() {
  local build=win64 name names
  if [ "${1:-}" = --build ]; then
    build=${2:-}
    shift 2 || true
    case $build in win64 | win32) ;; *) die "--build takes win64 or win32" ;; esac
  fi
  names=" $(e2e_scripts | paste -sd' ') "
  [ $# -gt 0 ] || die "usage: ./dev.sh e2e [--build win64|win32] NAME... (the scripts:${names% })"
  for name in "$@"; do
    [[ "$names" == *" $name "* ]] || die "no end-to-end script named $name (the scripts:${names% })"
  done
  need_build "$OUT/linux/orvalis-pack" "$OUT/$build/OrvalisSetup.exe" "$OUT/win64/run-raw.exe" \
    "$OUT/win64/inspect.exe" "$OUT/$build/orvalis-uidriver.exe"
  if [ "$build" = win32 ]; then
    probe_32bit
    [ -z "$RUN32_SKIP" ] || die "cannot run the 32-bit build: $RUN32_SKIP"
    need_wine32
  fi
  WINEDIR=$(winedir_of "$build")
  wine_start
  trap wine_stop EXIT
  local status=0
  for name in "$@"; do
    env ROOT="$ROOT" OUT="$OUT" WINE="$WINE" PY="$PY" BUILD="$build" ORVALIS_WINE_TEMPLATE="$TEMPLATE" \
      bash "$ROOT/tests/e2e/$name.sh" || status=1
  done
  wine_stop
  trap - EXIT
  return $status
}

# ---------------------------------------------------------------- bench

# Silent-install benchmark against NSIS and a floor program (an MSI with --msi),
# for the 64-bit build and, where 32-bit programs run, the shipped 32-bit one
# against NSIS's x86-unicode target in the same rotation; not part of `test`.
# Extra arguments go to bench/bench.py (--runs N, --scale S, --skip-big, --msi,
# --chunks N,N...).
BENCH_PACKAGES=(nsis msitools wixl)

cmd_bench() {
  local trees=(win64) tree more=()
  probe_32bit
  if [ -z "$RUN32_SKIP" ]; then
    trees+=(win32) more=(--win32)
  else
    log "the benchmark leaves the 32-bit build out: $RUN32_SKIP"
  fi
  deps_for "${trees[@]}"
  need_packages "the benchmark" "${BENCH_PACKAGES[@]}"
  configure linux
  log "building the packer, the setups and the floor programs"
  cmake --build "$OUT/build/linux" -j "$JOBS" --target orvalis-pack || die "build linux failed"
  for tree in "${trees[@]}"; do
    configure "$tree"
    cmake --build "$OUT/build/$tree" -j "$JOBS" --target OrvalisSetup orvalis-bench-floor || die "build $tree failed"
  done
  # A prefix of its own, so the installs and their registry values stay apart.
  WINEDIR=$OUT/${ORVALIS_WINE:-wine-bench}
  wine_start
  trap wine_stop EXIT
  local status=0
  BENCH_XVFB_PID=$XVFB_PID WINE=$WINE "$PY" "$ROOT/bench/bench.py" --root "$ROOT" --build "$OUT" --out "$OUT/bench" \
    "${more[@]}" "$@" || status=$?
  wine_stop
  trap - EXIT
  return $status
}

# ---------------------------------------------------------------- fuzz

# libFuzzer with clang; the sanitizer runtimes come with libclang-rt.
FUZZ_PACKAGES=(clang libclang-rt-14-dev zlib1g-dev libjpeg62-turbo-dev cmake ninja-build python3 unicode-data)

# The fuzz targets, one a line: fuzz/fuzz_NAME.cpp gives NAME.
fuzz_targets() {
  local source name
  for source in "$ROOT"/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    echo "${name#fuzz_}"
  done
}

# A target's own libFuzzer flags, one a line: fuzz/fuzz_NAME.options holds
# "flag = value" lines under [libfuzzer], after the defaults so they win.
fuzz_options() {  # name
  local file=$ROOT/fuzz/fuzz_$1.options line
  [ -f "$file" ] || return 0
  while IFS= read -r line; do
    if [[ $line =~ ^[[:space:]]*([a-z_]+)[[:space:]]*=[[:space:]]*([^[:space:]]+) ]]; then
      echo "-${BASH_REMATCH[1]}=${BASH_REMATCH[2]}"
    fi
  done <"$file"
}

# Builds the targets asked for in out/build/fuzz, the whole tree configured with
# clang and ORVALIS_FUZZ=ON (every library instrumented for libFuzzer, ASan and
# UBSan), and runs each for SECONDS (default 60) on a working corpus in
# out/fuzz/<target>, seeded from fuzz/corpus/<target>. Findings land in
# out/fuzz/findings/<target>.
cmd_fuzz() {
  local seconds=60 targets all name
  if [[ ${1:-} =~ ^[0-9]+$ ]]; then seconds=$1; shift; fi
  mapfile -t all < <(fuzz_targets)
  targets=("$@")
  [ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
  for name in "${targets[@]}"; do
    [[ " ${all[*]} " == *" $name "* ]] || die "no fuzz target named '$name': the targets are ${all[*]}"
  done
  need_packages "fuzzing" "${FUZZ_PACKAGES[@]}"
  local bdir=$OUT/build/fuzz args=()
  # A tree configured from another source folder (fuzz/ was a project of its own) is made anew.
  if [ -f "$bdir/CMakeCache.txt" ] && ! grep -qxF "CMAKE_HOME_DIRECTORY:INTERNAL=$ROOT" "$bdir/CMakeCache.txt"; then
    rm -rf "$bdir"
  fi
  command -v ccache >/dev/null && args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  mkdir -p "$OUT/build"
  CC=clang CXX=clang++ cmake -S "$ROOT" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVALIS_FUZZ=ON -DORVALIS_BUILD_TESTS=OFF "${args[@]}" \
    >"$bdir.configure.log" 2>&1 || { cat "$bdir.configure.log" >&2; die "configure fuzz failed"; }
  log "building the fuzz targets: ${targets[*]}"
  cmake --build "$bdir" -j "$JOBS" --target "${targets[@]/#/fuzz_}" || die "build fuzz failed"
  local status=0
  for name in "${targets[@]}"; do
    local corpus=$OUT/fuzz/$name findings=$OUT/fuzz/findings/$name
    mkdir -p "$corpus" "$findings"
    log "fuzzing $name for ${seconds}s"
    local seeds=() options=()
    [ -d "$ROOT/fuzz/corpus/$name" ] && seeds=("$ROOT/fuzz/corpus/$name")
    mapfile -t options < <(fuzz_options "$name")
    "$bdir/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 -timeout=20 \
      "${options[@]}" -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" \
      >"$OUT/fuzz/$name.log" 2>&1 || { status=1; tail -n 40 "$OUT/fuzz/$name.log" >&2; }
    grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$OUT/fuzz/$name.log" >&2 || true
  done
  [ "$status" = 0 ] || die "a fuzz target found a fault; inputs are in out/fuzz/findings/"
}

case "${1:-}" in
  deps) cmd_deps ;;
  e2e) shift; cmd_e2e "$@" ;;
  fuzz) shift; cmd_fuzz "$@" ;;
  wine) shift; cmd_wine "$@" ;;
  build) shift; cmd_build "$@" ;;
  test) cmd_test ;;
  demo) cmd_demo ;;
  sdk) cmd_sdk ;;
  bench) shift; cmd_bench "$@" ;;
  *)
    echo "usage: ./dev.sh deps | build [linux|asan|win64|win32]... | test | demo | sdk | wine PROGRAM [ARGS...]" \
      "| e2e [--build win64|win32] NAME... | bench [ARGS...] | fuzz [SECONDS] [TARGET...]" >&2
    exit 2 ;;
esac
