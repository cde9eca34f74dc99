#!/usr/bin/env bash
# Setups from CPack: the packer is installed with its CMake module (the pack
# component of the native tree, and of the build's own tree for the setup
# stub), and the example project examples/cpack, which takes nothing from this
# tree but that module, is configured with the build's MinGW toolchain, built
# and packed by `cpack -G External`. The setup holds the project's install
# tree, installs it unattended under Wine with the project's software-list
# entry, and the installed program runs.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone; no display needed.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
WORK=$(work_folder cpack)
rm -rf "$WORK/run" && mkdir -p "$WORK/run"
RUN=$WORK/run
if [ "$BUILD" = win32 ]; then TOOLCHAIN=$ROOT/cmake/mingw-i686.cmake; else TOOLCHAIN=$ROOT/cmake/mingw-x86_64.cmake; fi

echo "the packer installed with its CMake module"
PREFIX=$RUN/packer
check "cmake --install of the native tree's pack component" \
  cmake --install "$OUT/build/linux" --component pack --prefix "$PREFIX"
check "cmake --install of the $BUILD tree's pack component" \
  cmake --install "$OUT/build/$BUILD" --component pack --prefix "$PREFIX"
for file in bin/orvalis-pack share/orvalis-pack/OrvalisSetup.exe share/orvalis-pack/cmake/OrvalisCPack.cmake \
  share/orvalis-pack/cmake/OrvalisCPackExternal.cmake; do
  check "  $file" test -s "$PREFIX/$file"
done

echo "the example project: cmake, cmake --build, cpack -G External"
BUILT=$RUN/build
configure() {  # build folder, more options...
  cmake -S "$ROOT/examples/cpack" -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_MODULE_PATH="$PREFIX/share/orvalis-pack/cmake" "${@:2}" >"$1.log" 2>&1
}
check "cmake configures it with the MinGW toolchain and the module's folder" configure "$BUILT"
check "cmake --build builds it" cmake --build "$BUILT"
(cd "$BUILT" && cpack -G External) >"$RUN/cpack.log" 2>&1
expect "cpack -G External succeeds" "0" "$?"
SETUP=$BUILT/Hello-1.2.0-$BUILD.exe
check "  and writes $(basename "$SETUP")" test -s "$SETUP"
expect "  which holds the install tree and the descriptor" 'BIN\HELLO.EXE DISK.ID README.TXT' \
  "$("$PACK" --list "$SETUP" | awk '{print $3}' | sort | paste -sd' ')"
expect "  written from the project's values, CR LF lines" \
  'Product=OrvalisHello|Program=bin\hello.exe|ProductName=Orvalis_Hallo|ProductNameEnu=Orvalis_Hello|Version=1_2_0|Date=01-06-2026 12:00|' \
  "$(find "$BUILT/_CPack_Packages" -name DISK.ID -exec cat {} + | sed 's/\r$/|/' | tr -d '\n')"
check_not "a setup stub that is not there stops the configure" configure "$RUN/nostub" -DORVALIS_SETUP_STUB="$RUN/none.exe"
tr -s ' \n' ' ' <"$RUN/nostub.log" >"$RUN/nostub.txt"  # CMake wraps its messages
check "  with a message that names it" grep -q 'the setup stub "[^"]*/none.exe" is not found' "$RUN/nostub.txt"
# The project's install tree as it is to be installed: the reference for the installed files.
cmake --install "$BUILT" --prefix "$RUN/tree" >/dev/null

echo "the setup installs unattended under Wine"
own_wine_prefix
trap own_wine_end EXIT
KEY="$MACHINE_UNINSTALL\\OrvalisHello"
forget_keys "HKLM\\$KEY" "HKCU\\$USER_UNINSTALL\\OrvalisHello" 'HKCU\Software\Orvalis\OrvalisHello'
TARGET='C:\CPack Hello'
rm -rf "$(unixpath "$TARGET")"
cp "$SETUP" "$WORK/hello-setup.exe"
RC=$("$WINE" "$RUNRAW" "$(winpath "$WORK/hello-setup.exe") /Q /I /P:\"$TARGET\"" 2>/dev/null | tr -d '\r' |
  sed -n 's/^exit=//p')
expect "Hello-1.2.0-$BUILD.exe /Q /I /P:\"$TARGET\": exit code 0" "0" "$RC"
while IFS= read -r f; do
  display=$(printf '%s' "$f" | tr '/' '\\')
  expect "$display is installed" "$(crc_of "$RUN/tree/$f")" "$(inspect file "$TARGET\\$display" | cut -d' ' -f1,2)"
done < <(cd "$RUN/tree" && find . -type f | sed 's|^\./||' | sort)
expect "the software-list entry names the product in Dutch, as a quiet run registers it" "sz:Orvalis Hallo" \
  "$(inspect reg HKLM "$KEY" DisplayName)"
expect "  with the project's version" "sz:1.2.0" "$(inspect reg HKLM "$KEY" DisplayVersion)"
expect "  the install folder" "sz:$TARGET\\" "$(inspect reg HKLM "$KEY" InstallLocation)"
expect "  and the project's program" "sz:$TARGET\\bin\\hello.exe" "$(inspect reg HKLM "$KEY" DisplayIcon)"
expect "the installed program runs" "Hello from Orvalis Hello 1.2.0" \
  "$("$BUILD_WINE" "$TARGET\\bin\\hello.exe" 2>/dev/null | tr -d '\r')"

finish
