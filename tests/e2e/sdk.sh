#!/usr/bin/env bash
# The control package's SDK as a host program's developer gets it: the build's
# zip (out/orvalis-controls-sdk-VERSION-BUILD.zip), unpacked into an empty
# folder, holds the header, the DLL, the .def file, both import libraries and
# the CMake package; the .def lists and both import libraries import exactly
# the functions the header declares, each with the symbols a __cdecl call links
# against (and a library made with the wrong decoration is refused); a C
# program links against the MSVC import library; and a copy of the sample
# host's CMake project (examples/host) configures with the MinGW toolchain and
# CMAKE_PREFIX_PATH pointing at the SDK alone, builds, and passes host.sh's
# checks under Wine.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
WORK=$(work_folder sdk)
rm -rf "$WORK/run" && mkdir -p "$WORK/run"
RUN=$WORK/run
if [ "$BUILD" = win32 ]; then TRIPLE=i686-w64-mingw32; else TRIPLE=x86_64-w64-mingw32; fi
TOOLCHAIN=$ROOT/cmake/mingw-${TRIPLE%%-*}.cmake
VERSION=$(sed -n 's/^project(orvalis_setup VERSION \([0-9.]*\) .*/\1/p' "$ROOT/CMakeLists.txt")
NAME=orvalis-controls-sdk-$VERSION-$BUILD
HEADER=$ROOT/include/orvalis_controls.h

echo "the SDK zip, unpacked in an empty folder"
check "$NAME.zip is there" test -s "$OUT/$NAME.zip"
mkdir -p "$RUN/unpacked"
check "  and unpacks" bash -c 'cd "$1" && cmake -E tar xf "$2"' _ "$RUN/unpacked" "$OUT/$NAME.zip"
SDK=$RUN/unpacked/$NAME
expect "  into one folder with the header, the DLL, the import libraries, the .def and the CMake package" \
  "bin/OrvalisControls.dll include/orvalis_controls.h lib/OrvalisControls.def lib/OrvalisControls.lib lib/cmake/OrvalisControls/OrvalisControlsConfig.cmake lib/cmake/OrvalisControls/OrvalisControlsConfigVersion.cmake lib/libOrvalisControls.dll.a" \
  "$(cd "$RUN/unpacked" && find . -type f | sed "s|^\./$NAME/||" | sort | paste -sd' ')"
check "  its DLL is the build's" cmp "$SDK/bin/OrvalisControls.dll" "$BIN/OrvalisControls.dll"
check "  its header is the source's" cmp "$SDK/include/orvalis_controls.h" "$HEADER"

echo "the .def and the import libraries name the header's functions"
for file in lib/OrvalisControls.def lib/OrvalisControls.lib lib/libOrvalisControls.dll.a; do
  if $PY "$ROOT/tests/e2e/exports_check.py" "$HEADER" "$SDK/$file" >"$RUN/names.txt" 2>&1; then
    pass "$file: $(head -n1 "$RUN/names.txt" | sed 's/^[^:]*: //')"
  else
    fail "$file names exactly the header's functions"
    head -n 20 "$RUN/names.txt"
  fi
done
# The same .def made into a library whose x86 names carry one underscore too
# many (or, on x64, one that x64 names never carry): the check must refuse it.
"$TRIPLE-dlltool" --add-underscore --input-def "$SDK/lib/OrvalisControls.def" --dllname OrvalisControls.dll \
  --output-lib "$RUN/wrong.lib"
check_not "  and it refuses a library made with the wrong decoration" \
  "$PY" "$ROOT/tests/e2e/exports_check.py" "$HEADER" "$RUN/wrong.lib"
# MinGW's compiler decorates a __cdecl call as MSVC's does.
check "a C program links against the MSVC import library OrvalisControls.lib" \
  "$TRIPLE-gcc" -municode -mwindows -I"$SDK/include" "$ROOT/examples/host/host.c" "$SDK/lib/OrvalisControls.lib" \
  -o "$RUN/host-msvc-lib.exe"

echo "the sample host's CMake project, built from the SDK alone"
cp -r "$ROOT/examples/host" "$RUN/host-source"
HOSTBUILD=$RUN/host-build
check "cmake configures it with the MinGW toolchain and CMAKE_PREFIX_PATH at the SDK" \
  cmake -S "$RUN/host-source" -B "$HOSTBUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_PREFIX_PATH="$SDK"
expect "  finding the package in the SDK" "OrvalisControls_DIR:PATH=$SDK/lib/cmake/OrvalisControls" \
  "$(grep '^OrvalisControls_DIR:' "$HOSTBUILD/CMakeCache.txt")"
check "cmake --build builds it" cmake --build "$HOSTBUILD"
check "  with the SDK's DLL beside the program" cmp "$HOSTBUILD/OrvalisControls.dll" "$SDK/bin/OrvalisControls.dll"
OTHER=$([ "$BUILD" = win32 ] && echo x86_64 || echo i686)
check_not "a project for the other machine ($OTHER) does not take this SDK" \
  cmake -S "$RUN/host-source" -B "$RUN/other-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$OTHER.cmake" \
  -DCMAKE_PREFIX_PATH="$SDK"
cmake -S "$RUN/host-source" -B "$RUN/other-build" >"$RUN/other.log" 2>&1
check "  for the version file refuses it by its bitness" grep -q 'OrvalisControlsConfig.cmake, version: .* ([0-9]*bit)' \
  "$RUN/other.log"

echo "the host built from the SDK under Wine (host.sh's checks)"
output=$(HOST_EXE=$HOSTBUILD/orvalis-host.exe HOST_NAME=host-sdk bash "$ROOT/tests/e2e/host.sh" 2>&1)
printf '%s\n' "$output" | sed '$d'
counts=$(printf '%s\n' "$output" | tail -n1)
if [[ $counts =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
  PASSED=$((PASSED + BASH_REMATCH[1]))
  FAILED=$((FAILED + BASH_REMATCH[2]))
else
  fail "host.sh ends with its counts (it ended: $counts)"
fi

finish
