#!/usr/bin/env bash
# Unattended installations of real packed setups under Wine, checked from inside
# Windows: files, registry, shortcuts, the started program, and the message
# boxes of the failure paths (answered by the UI driver).
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder unattended)
rm -rf "$WORK" && mkdir -p "$WORK"

# Start from a clean slate when the prefix is reused between runs.
forget_keys 'HKCU\Software\Orvalis' 'HKCR\.DMO' 'HKCR\DMO' 'HKCR\.DM2' 'HKCR\DM2' \
  "HKLM\\$MACHINE_UNINSTALL\\Demo"
rm -rf "$WINEPREFIX/drive_c/Tëst Map" "$WINEPREFIX/drive_c/FT Demo" "$WINEPREFIX/drive_c/Del Demo" \
  "$WINEPREFIX/drive_c/Lock Demo" "$WINEPREFIX/drive_c/Damaged Demo" "$WINEPREFIX/drive_c/OUTSIDE.TXT"
find "$WINEPREFIX/drive_c" "$HOME" -name 'Orvalis Demo.lnk' -delete 2>/dev/null

find_launch_record

# The product: the demo program, a read-me and data in a subfolder.
PRODUCT=$WORK/product
stage_product "$PRODUCT"

# Runs a setup with an exact command line and waits for it; message boxes must not appear.
run_setup() { "$WINE" "$RUNRAW" "$(winpath "$WORK/$1.exe") $2" >/dev/null 2>&1; }

DEMO_DESCRIPTOR='Product=Demo\r\nProductName=Orvalis_Demo_NL\r\nProductNameEnu=Orvalis_Demo\r\nProgram=OrvalisDemo.exe /start "two words"\r\nVersion=1_2_3\r\nFileTypes=DMO\r\nRegistry=Options\\AutoSave:I1,Paths\\Data:C,Top:text:dropped\r\nShortCuts=create\r\n'
pack demo "$DEMO_DESCRIPTOR"

echo "a full unattended installation"
rm -f "$LAUNCH_RECORD"
TARGET='C:\Tëst Map\Demo'
run_setup demo "/U /P:\"$TARGET\" /I /R /L /S /M:ENU"
for f in OrvalisDemo.exe ReadMe.txt Data/customers.csv Data/settings.ini; do
  display=$(printf '%s' "$f" | tr 'A-Z' 'a-z' | sed 's/^./\U&/' | tr '/' '\\')
  expect "installed $display" "$(crc_of "$PRODUCT/$f")" "$(inspect file "$TARGET\\$display" | cut -d' ' -f1,2)"
done
expect "the file names carry the display name's case" "Orvalisdemo.exe" \
  "$(ls "$(unixpath "$TARGET")" | grep -i '^orvalisdemo.exe$')"
SETTINGS='Software\Orvalis\Demo'
expect "Language is stored" "sz:ENU" "$(inspect reg HKCU "$SETTINGS" Language)"
expect "Setup\\Path is stored with its final \\" "sz:$TARGET\\" "$(inspect reg HKCU "$SETTINGS\\Setup" Path)"
expect "Setup\\ReleaseNotes is stored" "dword:1" "$(inspect reg HKCU "$SETTINGS\\Setup" ReleaseNotes)"
expect "Setup\\Custom is not stored for a plain run" "missing" "$(inspect reg HKCU "$SETTINGS\\Setup" Custom)"
expect "REGISTRY integer item" "dword:1" "$(inspect reg HKCU "$SETTINGS\\Options" AutoSave)"
expect "REGISTRY string item" "sz:C" "$(inspect reg HKCU "$SETTINGS\\Paths" Data)"
expect "REGISTRY item without section, text after a second colon dropped" "sz:text" "$(inspect reg HKCU "$SETTINGS" Top)"
UNINSTALL="$MACHINE_UNINSTALL\\Demo"
expect "uninstall entry: display name" "sz:Orvalis Demo" "$(inspect reg HKLM "$UNINSTALL" DisplayName)"
expect "uninstall entry: command with the path quoted" "sz:\"$TARGET\\OrvalisDemo.exe\" /start \"two words\" /UnInstall" \
  "$(inspect reg HKLM "$UNINSTALL" UninstallString)"
for v in Publisher HelpLink URLInfoAbout; do
  check "uninstall entry: $v" test "$(inspect reg HKLM "$UNINSTALL" "$v")" != missing
done
expect "FILETYPES are not read when /U is on the command line" "missing" "$(inspect reg HKCR .DMO @)"
links=$(find "$WINEPREFIX/drive_c" "$HOME" -name 'Orvalis Demo.lnk' 2>/dev/null)
desktop_link=$(printf '%s\n' "$links" | grep -i '/Desktop/' | head -n1)
menu_link=$(printf '%s\n' "$links" | grep -i '/Programs/Orvalis/' | head -n1)
check "desktop shortcut made" test -n "$desktop_link"
check "programs-menu shortcut made in the Orvalis group" test -n "$menu_link"
for link in "$desktop_link" "$menu_link"; do
  [ -n "$link" ] || continue
  expect "shortcut $(basename "$(dirname "$link")") points at the program with its folder" \
    "$TARGET\\OrvalisDemo.exe|/start \"two words\"|$TARGET\\" "$(inspect lnk "$("$WINE" winepath -w "$link" 2>/dev/null | tr -d '\r')")"
done
check "the program was started" wait_for_file "$LAUNCH_RECORD" 10
expect "the program got the parameters split off PROGRAM" "args=/start \"two words\"" \
  "$(tr -d '\r' < "$LAUNCH_RECORD" 2>/dev/null | sed -n 's/^args=/args=/p')"
expect "the program runs in the install folder" "folder=$TARGET" \
  "$(tr -d '\r' < "$LAUNCH_RECORD" 2>/dev/null | grep '^folder=')"
expect "the setup mutex is released and gone after the run" "missing" "$(inspect mutex OrvalisSetup)"

echo "file types from a package that is unattended by its own PARAMS"
pack filetypes 'Product=FtDemo\r\nProductName=Ft_Demo\r\nProductNameEnu=Ft_Demo\r\nProgram=OrvalisDemo.exe\r\nFileTypes=DMO,DM2\r\nParams=/U /M:NLD\r\n'
FT='C:\FT Demo'
run_setup filetypes "/P:\"$FT\""
for ext in DMO DM2; do
  expect "HKCR\\.$ext names its class" "sz:$ext" "$(inspect reg HKCR ".$ext" @)"
  expect "HKCR\\$ext description (Dutch)" "sz:Ft Demo bestand" "$(inspect reg HKCR "$ext" @)"
  expect "HKCR\\$ext open command quotes the program" "sz:\"$FT\\OrvalisDemo.exe\" \"%1\"" \
    "$(inspect reg HKCR "$ext\\Shell\\open\\command" @)"
  expect "HKCR\\$ext verb caption" "sz:&Openen" "$(inspect reg HKCR "$ext\\Shell\\open" @)"
  expect "HKCR\\$ext EditFlags" "dword:65536" "$(inspect reg HKCR "$ext" EditFlags)"
  expect "HKCR\\$ext BrowserFlags" "dword:8" "$(inspect reg HKCR "$ext" BrowserFlags)"
  expect "per-user choice for .$ext" "sz:Applications\\$ext" \
    "$(inspect reg HKCU "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.$ext\\UserChoice" Progid)"
  expect "per-user application command for $ext" "sz:\"$FT\\OrvalisDemo.exe\" \"%1\"" \
    "$(inspect reg HKCU "Software\\Classes\\Applications\\$ext\\Shell\\open\\command" @)"
done
expect "no software-list entry without /I" "missing" "$(inspect reg HKLM "$MACHINE_UNINSTALL\\FtDemo" DisplayName)"
expect "PARAMS /M:NLD is stored" "sz:NLD" "$(inspect reg HKCU 'Software\Orvalis\FtDemo' Language)"

echo "read-only and hidden files, DELETE items and old assist files"
pack deletes 'Product=DelDemo\r\nProductName=Del_Demo\r\nProductNameEnu=Del_Demo\r\nProgram=OrvalisDemo.exe\r\nDelete=OLD.DLL,,SUB\\GONE.TXT,..\\OUTSIDE.TXT,C:\\ABSOLUTE.TXT\r\n'
DEL='C:\Del Demo'
DEL_U=$(unixpath "$DEL")
mkdir -p "$DEL_U/Sub" "$WINEPREFIX/drive_c"
echo old > "$DEL_U/OLD.DLL"; echo gone > "$DEL_U/Sub/GONE.TXT"; echo keep > "$DEL_U/../OUTSIDE.TXT"
echo keep > "$WINEPREFIX/drive_c/ABSOLUTE.TXT"; echo qxa > "$DEL_U/PF1.QXA"; echo stale > "$DEL_U/Readme.txt"
inspect attr "$DEL\\Readme.txt" 3 >/dev/null  # read-only and hidden
run_setup deletes "/U /P:\"$DEL\""
attributes=$(inspect file "$DEL\\Readme.txt")
expect "a read-only hidden file is replaced" "$(crc_of "$PRODUCT/ReadMe.txt")" "$(printf '%s' "$attributes" | cut -d' ' -f1,2)"
expect "it ends read-only and no longer hidden" "1 0" \
  "$(( $(printf '%s' "$attributes" | cut -d' ' -f3) & 1 )) $(( $(printf '%s' "$attributes" | cut -d' ' -f3) & 2 ))"
check_not "DELETE removes OLD.DLL" test -e "$DEL_U/OLD.DLL"
check_not "DELETE removes SUB\\GONE.TXT" test -e "$DEL_U/Sub/GONE.TXT"
check "DELETE never reaches outside the install folder (..)" test -e "$DEL_U/../OUTSIDE.TXT"
check "DELETE never reaches outside the install folder (absolute)" test -e "$WINEPREFIX/drive_c/ABSOLUTE.TXT"
check "old assist files stay in an unattended run" test -e "$DEL_U/PF1.QXA"
inspect attr "$DEL\\Readme.txt" 0 >/dev/null

echo "the writability wait"
LOCK='C:\Lock Demo'
run_setup deletes "/U /P:\"$LOCK\""
LOCK_U=$(unixpath "$LOCK")
echo stale > "$LOCK_U/Readme.txt"
hold_file "$LOCK\\Readme.txt" 3
run_setup deletes "/U /P:\"$LOCK\""
wait "$HOLDER" 2>/dev/null
expect "a file held for 3 seconds is replaced after it is released" "$(crc_of "$PRODUCT/ReadMe.txt")" \
  "$(inspect file "$LOCK\\Readme.txt" | cut -d' ' -f1,2)"

echo stale > "$LOCK_U/Readme.txt"
hold_file "$LOCK\\Readme.txt" 40
PID=$(start_setup deletes "/U /P:\"$LOCK\" /M:ENU")
box=$(driver answer-box --pid "$PID" --button No --timeout 30000)
expect "a file held for the whole wait: the elevation offer is a warning" "Warning" "$(fact "$box" caption)"
expect "  with text 29 and the question" \
  'Not all files in the install folder can be written. Make sure all files can be replaced and applications are closed.\n\nDo you wish to run the setup as administrator?' \
  "$(fact "$box" text)"
box=$(driver answer-box --pid "$PID" --button OK --timeout 10000)
expect "answering No ends the unattended run with the product name and text 41" \
  "Del Demo cannot be installed. Probably there are extra rights needed. Save this program to disk and try running it as 'Administrator'." \
  "$(fact "$box" text)"
expect "  in a plain box with the application title" "Orvalis Setup" "$(fact "$box" caption)"
exited=$(driver wait-exit --pid "$PID" --timeout 10000)
expect "  and the setup ends" "1" "$(fact "$exited" exited)"
expect "the held file was not touched" "stale" "$(tr -d '\r\n' < "$LOCK_U/Readme.txt")"
kill "$HOLDER" 2>/dev/null; wait "$HOLDER" 2>/dev/null

echo "a damaged payload stream"
damage_stream "$WORK/demo.exe" "$WORK/damaged.exe" 'DATA\CUSTOMERS.CSV'
BAD='C:\Damaged Demo'
PID=$(start_setup damaged "/U /P:\"$BAD\" /M:ENU")
box=$(driver answer-box --pid "$PID" --button No --timeout 30000)
expect "a damaged stream fails with text 32 and the elevation offer" \
  'Not all files could be installed\n\nDo you wish to run the setup as administrator?' "$(fact "$box" text)"
box=$(driver answer-box --pid "$PID" --button OK --timeout 10000)
expect "  then the unattended failure message" \
  "Orvalis Demo cannot be installed. Probably there are extra rights needed. Save this program to disk and try running it as 'Administrator'." \
  "$(fact "$box" text)"
driver wait-exit --pid "$PID" --timeout 10000 >/dev/null
expect "every other file is still written" "$(crc_of "$PRODUCT/Data/settings.ini")" \
  "$(inspect file "$BAD\\Data\\settings.ini" | cut -d' ' -f1,2)"
expect "the damaged file is not written" "missing" "$(inspect file "$BAD\\Data\\customers.csv")"
expect "a failed run stores no settings" "sz:$TARGET\\" "$(inspect reg HKCU 'Software\Orvalis\Demo\Setup' Path)"

finish
