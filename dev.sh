#!/usr/bin/env bash
# Development commands of orvalis-setup. Each one installs what it needs first.
#   ./dev.sh deps    install the toolchains, Wine and libraries that are missing (Debian 12, as root)
#   ./dev.sh build [linux|asan|win64|win32]...
#                    build the named trees, all four without a name: native (out/linux), native
#                    under ASan+UBSan (out/linux-asan), Windows x86_64 (out/win64) and i686 (out/win32)
#   ./dev.sh test    build, then run the native tests and the Windows tests under Wine
#   ./dev.sh demo    build, pack the demo product and show its payload
#   ./dev.sh wine PROGRAM [ARGS...]  run one Windows program in the test Wine (needs a build)
#   ./dev.sh e2e NAME...             run end-to-end scripts of tests/e2e/ in the test Wine (needs a build)
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

# The Debian packages, then libjpeg-turbo for the Windows targets given.
deps_for() {  # [win64|win32]...
  need_packages "the build" "${DEB_PACKAGES[@]}"
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
        -U "JPEG_*") ;;
    win32)
      args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DORVALIS_JPEG_ROOT="$(jpeg_root win32)"
        -U "JPEG_*" -DORVALIS_BUILD_TESTS=OFF) ;;
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
WINESERVER=/usr/lib/wine/wineserver
wine_env() {
  export WINEPREFIX=$WINEDIR/prefix
  export HOME=$WINEDIR/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export XDG_DESKTOP_DIR=$HOME/Desktop
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  export WINEARCH=win64
  mkdir -p "$HOME/Desktop" "$WINEPREFIX"
}

XVFB_PID=
start_xvfb() {
  [ -n "$XVFB_PID" ] && return 0
  local d
  for d in $(seq 90 140); do
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

wine_start() {
  wine_env
  mkdir -p "$WINEDIR"
  start_xvfb
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix"
    "$WINE" wineboot --init >"$WINEDIR/wineboot.log" 2>&1 || true
    "$WINESERVER" -w
  fi
  if ! unmanaged_windows "$WINEPREFIX"; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
      die "cannot set Managed=N in the Wine prefix $WINEPREFIX"
    "$WINESERVER" -w  # the server writes user.reg when it ends
  fi
  "$WINESERVER" -p
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  XVFB_PID=
}

# ---------------------------------------------------------------- test

RESULTS=()
TOTAL_PASSED=0
TOTAL_FAILED=0

# Microseconds since the epoch; the seconds since such a moment, to a tenth.
now_us() { echo "${EPOCHREALTIME//[!0-9]/}"; }
seconds_since() {  # microseconds
  local us=$(($(now_us) - $1))
  printf '%d.%d' $((us / 1000000)) $((us / 100000 % 10))
}

record() {  # suite, passed, failed, seconds
  RESULTS+=("$(printf '%-28s %7s s %5d passed, %d failed' "$1" "$4" "$2" "$3")")
  TOTAL_PASSED=$((TOTAL_PASSED + $2))
  TOTAL_FAILED=$((TOTAL_FAILED + $3))
}

# Runs one GoogleTest program (natively or through Wine) and records its counts.
run_gtest() {  # suite, xml, command...
  local suite=$1 xml=$2 start; shift 2
  start=$(now_us)
  rm -f "$xml"
  log "$suite"
  local target=$xml
  # A Windows program under Wine takes the report's path as a Windows path.
  [ "$1" = "$WINE" ] && target="Z:${xml//\//\\}"
  "$@" --gtest_output="xml:$target" --gtest_brief=1 || true
  if [ ! -f "$xml" ]; then
    record "$suite" 0 1 "$(seconds_since "$start")"
    return
  fi
  local tests failures errors disabled
  read -r tests failures errors disabled < <($PY - "$xml" <<'PY'
import sys, xml.etree.ElementTree as ET
r = ET.parse(sys.argv[1]).getroot()
print(r.get("tests"), r.get("failures"), r.get("errors", "0"), r.get("disabled", "0"))
PY
  )
  local failed=$((failures + errors))
  record "$suite" $((tests - disabled - failed)) "$failed" "$(seconds_since "$start")"
}

# Runs one shell-level test script; it prints "N passed, N failed" as its last line.
run_script() {  # suite, script...
  local suite=$1 start seconds; shift
  start=$(now_us)
  log "$suite"
  local output status=0
  output=$("$@" 2>&1) || status=$?
  seconds=$(seconds_since "$start")
  printf '%s\n' "$output"
  local line
  line=$(printf '%s\n' "$output" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -n1 || true)
  if [ -z "$line" ]; then
    record "$suite" 0 1 "$seconds"
  else
    local p f
    p=${line%% passed*}; f=${line#*passed, }; f=${f%% failed*}
    [ "$status" = 0 ] || [ "$f" != 0 ] || f=1
    record "$suite" "$p" "$f" "$seconds"
  fi
}

cmd_test() {
  local start
  start=$(now_us)
  build_trees "${BUILD_TREES[@]}"
  mkdir -p "$OUT/results"
  run_gtest "native unit tests" "$OUT/results/native.xml" "$OUT/linux/orvalis_tests"
  run_gtest "native, ASan+UBSan" "$OUT/results/native-asan.xml" "$OUT/linux-asan/orvalis_tests"
  wine_start
  trap wine_stop EXIT
  run_gtest "Windows tests (wine64)" "$OUT/results/win64.xml" "$WINE" "$OUT/win64/orvalis_tests.exe"
  local script
  for script in "$ROOT"/tests/e2e/*.sh; do
    [ -f "$script" ] || continue
    [ "$(basename "$script")" = lib.sh ] && continue  # shared helpers, not a test
    run_script "$(basename "$script" .sh)" env ROOT="$ROOT" OUT="$OUT" WINE="$WINE" PY="$PY" bash "$script"
  done
  wine_stop
  trap - EXIT
  echo
  printf '%s\n' "${RESULTS[@]}"
  echo "whole run, build included: $(seconds_since "$start") s"
  echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
  [ "$TOTAL_FAILED" = 0 ]
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
  mkdir -p "$WINEDIR"
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
cmd_e2e() {
  local name script names=
  for script in "$ROOT"/tests/e2e/*.sh; do
    name=$(basename "$script" .sh)
    [ "$name" = lib ] || names+=" $name"
  done
  [ $# -gt 0 ] || die "usage: ./dev.sh e2e NAME... (the scripts:$names)"
  for name in "$@"; do
    [[ "$names " == *" $name "* ]] || die "no end-to-end script named $name (the scripts:$names)"
  done
  need_build "$OUT/linux/orvalis-pack" "$OUT/win64/OrvalisSetup.exe" "$OUT/win64/run-raw.exe" \
    "$OUT/win64/inspect.exe" "$OUT/win64/orvalis-uidriver.exe"
  mkdir -p "$WINEDIR"
  wine_start
  trap wine_stop EXIT
  local status=0
  for name in "$@"; do
    env ROOT="$ROOT" OUT="$OUT" WINE="$WINE" PY="$PY" bash "$ROOT/tests/e2e/$name.sh" || status=1
  done
  wine_stop
  trap - EXIT
  return $status
}

# ---------------------------------------------------------------- bench

# Silent-install benchmark against NSIS and a floor program (an MSI with --msi);
# not part of `test`. Extra arguments go to bench/bench.py (--runs N, --scale S,
# --skip-big, --msi, --chunks N,N...).
BENCH_PACKAGES=(nsis msitools wixl)

cmd_bench() {
  deps_for win64
  need_packages "the benchmark" "${BENCH_PACKAGES[@]}"
  configure linux
  configure win64
  log "building the packer, the setup and the floor program"
  cmake --build "$OUT/build/linux" -j "$JOBS" --target orvalis-pack || die "build linux failed"
  cmake --build "$OUT/build/win64" -j "$JOBS" --target OrvalisSetup orvalis-bench-floor || die "build win64 failed"
  # A prefix of its own, so the installs and their registry values stay apart.
  WINEDIR=$OUT/${ORVALIS_WINE:-wine-bench}
  wine_start
  trap wine_stop EXIT
  local status=0
  BENCH_XVFB_PID=$XVFB_PID WINE=$WINE "$PY" "$ROOT/bench/bench.py" --root "$ROOT" --build "$OUT" --out "$OUT/bench" "$@" || status=$?
  wine_stop
  trap - EXIT
  return $status
}

# ---------------------------------------------------------------- fuzz

# libFuzzer with clang; the sanitizer runtimes come with libclang-rt.
FUZZ_PACKAGES=(clang libclang-rt-14-dev zlib1g-dev cmake ninja-build python3 unicode-data)
FUZZ_TARGETS=(descriptor switches field_list pe_image resource_tree payload_name inflate inflate_chunked text rtf)

# Builds fuzz/ as a project of its own in out/build/fuzz and runs each target
# for SECONDS (default 60) on a working corpus in out/fuzz/<target>, seeded
# from fuzz/corpus/<target>. Findings land in out/fuzz/findings/<target>.
cmd_fuzz() {
  local seconds=${1:-60}
  [ $# -gt 0 ] && shift
  local targets=("$@")
  [ ${#targets[@]} -gt 0 ] || targets=("${FUZZ_TARGETS[@]}")
  need_packages "fuzzing" "${FUZZ_PACKAGES[@]}"
  local bdir=$OUT/build/fuzz
  mkdir -p "$OUT/build"
  CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$bdir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >"$bdir.configure.log" 2>&1 || { cat "$bdir.configure.log" >&2; die "configure fuzz failed"; }
  log "building the fuzz targets"
  cmake --build "$bdir" -j "$JOBS" || die "build fuzz failed"
  local name status=0
  for name in "${targets[@]}"; do
    local corpus=$OUT/fuzz/$name findings=$OUT/fuzz/findings/$name
    mkdir -p "$corpus" "$findings"
    log "fuzzing $name for ${seconds}s"
    local seeds=()
    [ -d "$ROOT/fuzz/corpus/$name" ] && seeds=("$ROOT/fuzz/corpus/$name")
    "$bdir/fuzz_$name" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 -timeout=20 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" \
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
  bench) shift; cmd_bench "$@" ;;
  *)
    echo "usage: ./dev.sh deps | build [linux|asan|win64|win32]... | test | demo | wine PROGRAM [ARGS...]" \
      "| e2e NAME... | bench [ARGS...] | fuzz [SECONDS] [TARGET...]" >&2
    exit 2 ;;
esac
