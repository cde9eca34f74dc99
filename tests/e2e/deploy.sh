#!/usr/bin/env bash
# Quiet deployment under Wine: /Q runs that show no window at any moment, the
# exit codes a deployment tool reads (success, cancelled, failed, another setup
# running), the /O: log, the software-list values a detection rule reads, and
# the deployment examples of the README run as written.
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder deploy)
rm -rf "$WORK" && mkdir -p "$WORK"

forget_keys 'HKCU\Software\Orvalis\DeployDemo' 'HKCU\Software\Orvalis\DeployIa' "HKLM\\$MACHINE_UNINSTALL\\DeployDemo" \
  "HKCU\\$USER_UNINSTALL\\DeployDemo"
for d in 'Deploy Demo' 'Deploy Damaged' 'Deploy Busy' 'Deploy Handover' 'Deploy Logs' 'Deploy Intune' 'Deploy CM' 'Deploy GPO'; do
  rm -rf "${WINEPREFIX:?}/drive_c/$d"
done

PRODUCT=$WORK/product
stage_product "$PRODUCT"
DESCRIPTOR='Product=DeployDemo\r\nProductName=Deploy_Demo\r\nProductNameEnu=Deploy_Demo\r\nProgram=OrvalisDemo.exe\r\nVersion=2_5_0\r\n'
pack deploy "$DESCRIPTOR"

# Runs $WORK/<name>.exe with an exact command line through run-raw in the
# background and sets P to its Windows process id; finished waits for it and
# sets RC to its whole exit code (a shell would see only its low 8 bits).
launch() {  # name, arguments
  rm -f "$WORK/run.txt"
  ( "$WINE" "$RUNRAW" "$(winpath "$WORK/$1.exe") $2" > "$WORK/run.txt" 2>/dev/null ) &
  RUNNER=$!
  wait_for_file "$WORK/run.txt" 30
  P=$(head -n1 "$WORK/run.txt" 2>/dev/null | tr -d '\r')
}
finished() {
  wait "$RUNNER" 2>/dev/null
  RC=$(sed -n 's/^exit=//p' "$WORK/run.txt" | tr -d '\r')
}

# Watches for windows of any process named <name>.exe from before it starts
# until it has ended; watched sets WINDOWS to how many visible top-level
# windows it showed.
watch_start() {  # name
  rm -f "$WORK/watch.txt"
  ( "$WINE" "$DRIVER" watch --exe "$1.exe" --timeout 120000 > "$WORK/watch.txt" 2>/dev/null ) &
  WATCHER=$!
  wait_for_file "$WORK/watch.txt" 20
}
watched() {
  wait "$WATCHER" 2>/dev/null
  WINDOWS=$(tr -d '\r' < "$WORK/watch.txt" | sed -n 's/^windows=//p')
}

# A quiet run watched for windows: sets RC and WINDOWS.
quiet_run() {  # name, arguments
  watch_start "$1"
  launch "$1" "$2"
  finished
  watched
}

# The log as Linux text, and whether it holds a line (fixed string, whole line).
log_text() { tr -d '\r' < "$(unixpath "$1")" 2>/dev/null; }
log_has() { log_text "$1" | grep -qxF -- "$2"; }
log_matches() { log_text "$1" | grep -Eq -- "$2"; }  # an extended regular expression

echo "a quiet installation"
TARGET='C:\Deploy Demo'
LOG='C:\Deploy Logs\ok.log'
quiet_run deploy "/Q /I /O:\"$LOG\" /P:\"$TARGET\""
expect "exit code 0" "0" "$RC"
expect "no window of the setup appeared at any moment" "0" "$WINDOWS"
check "the log folder is made and the log written" test -s "$(unixpath "$LOG")"
expect "the log starts with the version, the command line and PARAMS" \
  "command line: /Q /I /O:\"$LOG\" /P:\"$TARGET\", PARAMS: (none)" "$(log_text "$LOG" | head -n1 | sed 's/^Orvalis Setup [0-9.]*, started [0-9: -]*, //')"
total=0
while IFS= read -r f; do
  display=$(printf '%s' "$f" | tr 'A-Z' 'a-z' | sed 's/^./\U&/' | tr '/' '\\')
  size=$(stat -c %s "$PRODUCT/$f")
  total=$((total + size))
  check "the log lists $display with its size" log_has "$LOG" "file: $display, $size bytes"
  expect "  and it is installed" "$(crc_of "$PRODUCT/$f")" "$(inspect file "$TARGET\\$display" | cut -d' ' -f1,2)"
done < <(cd "$PRODUCT" && find . -type f | sed 's|^\./||' | sort)
check "the log names the mode" log_has "$LOG" "mode: quiet"
check "the log names the folder" log_has "$LOG" "folder: $TARGET\\ (created)"
check "the log names the software-list entry" log_matches "$LOG" '^registration: software-list entry HKLM.*Uninstall.DeployDemo, version 2\.5\.0'
expect "the log ends with the outcome and the exit code" "outcome: installed|exit code: 0" \
  "$(log_text "$LOG" | tail -n2 | paste -sd'|')"

echo "the software-list entry"
KEY="$MACHINE_UNINSTALL\\DeployDemo"
expect "DisplayName" "sz:Deploy Demo" "$(inspect reg HKLM "$KEY" DisplayName)"
expect "DisplayVersion, as the main dialog shows it" "sz:2.5.0" "$(inspect reg HKLM "$KEY" DisplayVersion)"
expect "InstallLocation" "sz:$TARGET\\" "$(inspect reg HKLM "$KEY" InstallLocation)"
expect "DisplayIcon, the program" "sz:$TARGET\\OrvalisDemo.exe" "$(inspect reg HKLM "$KEY" DisplayIcon)"
expect "EstimatedSize, KiB written" "dword:$(((total + 1023) / 1024))" "$(inspect reg HKLM "$KEY" EstimatedSize)"
expect "InstallDate, today" "sz:$(date +%Y%m%d)" "$(inspect reg HKLM "$KEY" InstallDate)"
expect "NoModify" "dword:1" "$(inspect reg HKLM "$KEY" NoModify)"
expect "NoRepair" "dword:1" "$(inspect reg HKLM "$KEY" NoRepair)"
expect "UninstallString stays" "sz:\"$TARGET\\OrvalisDemo.exe\" /UnInstall" "$(inspect reg HKLM "$KEY" UninstallString)"
if [ "$BUILD" = win32 ]; then
  expect "the 32-bit setup's entry is in the 32-bit view only" "missing" \
    "$(inspect reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\DeployDemo' DisplayName)"
fi

echo "the watch sees the windows of a run that is not quiet"
# A run whose folder cannot be made offers elevation and then reports the
# failure, each in a message box that stays until it is answered: the watch
# must see them (a progress window can come and go between two of its looks on
# a busy machine).
BAD='C:\Deploy Demo\bad|name'
watch_start deploy
launch deploy "/U /M:ENU /P:\"$BAD\""
offer=$(driver answer-box --pid "$P" --button No --timeout 30000)
failure=$(driver answer-box --pid "$P" --button OK --timeout 10000)
finished
watched
expect "an unattended run that cannot make its folder offers elevation" "Warning" "$(fact "$offer" caption)"
check "  and, declined, reports the failure" test -n "$(fact "$failure" text)"
expect "  and ends with 1603" "1603" "$RC"
check "  and the watch saw both boxes" test "${WINDOWS:-0}" -ge 2

echo "a quiet run into a folder that cannot be made"
LOG='C:\Deploy Logs\bad folder.log'
quiet_run deploy "/Q /O:\"$LOG\" /P:\"$BAD\""
expect "exit code 1603" "1603" "$RC"
expect "no window, not even a message box" "0" "$WINDOWS"
check "the log names the folder and the Windows error with its text" \
  log_matches "$LOG" '^folder: C:.Deploy Demo.bad\|name. cannot be created: error [1-9][0-9]* \(.+\)$'
check "the log says why nothing was asked" log_matches "$LOG" '^elevation offer declined \(quiet run\): '
check "the failure text goes to the log" log_matches "$LOG" '^message: Deploy Demo kan niet worden'
expect "the log ends with exit code 1603" "exit code: 1603" "$(log_text "$LOG" | tail -n1)"

echo "a quiet run with a damaged stream over an earlier installation"
DAMAGED='C:\Deploy Damaged'
quiet_run deploy "/Q /P:\"$DAMAGED\""
expect "the earlier version installs" "0" "$RC"
damage_stream "$WORK/deploy.exe" "$WORK/damaged.exe" 'DATA\CUSTOMERS.CSV'
DAMAGED_U=$(unixpath "$DAMAGED")
printf 'earlier version\r\n' > "$DAMAGED_U/Data/customers.csv"
before=$(inspect file "$DAMAGED\\Data\\customers.csv" | cut -d' ' -f1,2)
LOG='C:\Deploy Logs\damaged.log'
quiet_run damaged "/Q /O:\"$LOG\" /P:\"$DAMAGED\""
expect "exit code 1603" "1603" "$RC"
expect "no window" "0" "$WINDOWS"
expect "the earlier installed file stays intact" "$before" "$(inspect file "$DAMAGED\\Data\\customers.csv" | cut -d' ' -f1,2)"
check "the log names the damaged file" log_matches "$LOG" '^file: Data.customers\.csv, FAILED: '
check "  and the others" log_matches "$LOG" '^file: Data.settings\.ini, [0-9]+ bytes$'
check "no temporary file is left beside it" test "$(find "$DAMAGED_U/Data" -type f | wc -l)" = "$(find "$PRODUCT/Data" -type f | wc -l)"

echo "a quiet run while another setup holds the mutex"
BUSY='C:\Deploy Busy'
rm -f "$WORK/hold.txt"
( "$WINE" "$INSPECT" holdmutex OrvalisSetup 60 > "$WORK/hold.txt" 2>/dev/null ) &
HOLDER=$!
wait_for_file "$WORK/hold.txt" 20
expect "the mutex is held" "held" "$(tr -d '\r\n' < "$WORK/hold.txt")"
LOG='C:\Deploy Logs\busy.log'
quiet_run deploy "/Q /I /O:\"$LOG\" /P:\"$BUSY\""
expect "exit code 1618" "1618" "$RC"
expect "no window" "0" "$WINDOWS"
check_not "nothing is installed" test -e "$(unixpath "$BUSY")"
check "the log says so" log_has "$LOG" "another setup holds the OrvalisSetup mutex"
kill "$HOLDER" 2>/dev/null; wait "$HOLDER" 2>/dev/null
"$WINE" "$INSPECT" mutex OrvalisSetup >/dev/null 2>&1  # the holder's process may end a moment later
launch deploy "/Q /P:\"$BUSY\""
finished
expect "once it is free the same run installs" "0" "$RC"

echo "an accepted elevation offer hands the exit code of the elevated copy on"
HANDOVER='C:\Deploy Handover'
launch deploy "/U /P:\"$HANDOVER\""
finished
HANDOVER_U=$(unixpath "$HANDOVER")
echo stale > "$HANDOVER_U/Readme.txt"
# Held longer than one run's writability wait (20 attempts, 10 s), so the first
# run fails and offers elevation; the elevated copy finds the file free.
hold_file "$HANDOVER\\Readme.txt" 14
LOG='C:\Deploy Logs\handover.log'
launch deploy "/U /M:ENU /O:\"$LOG\" /P:\"$HANDOVER\""
box=$(driver answer-box --pid "$P" --button Yes --timeout 30000)
expect "the elevation offer comes" "Warning" "$(fact "$box" caption)"
box=$(driver answer-box --pid "$P" --button OK --timeout 10000)
check "the first run reports its own failure" test -n "$(fact "$box" text)"
finished
wait "$HOLDER" 2>/dev/null
expect "its exit code is the elevated copy's" "0" "$RC"
expect "  which installed the held file" "$(crc_of "$PRODUCT/ReadMe.txt")" \
  "$(inspect file "$HANDOVER\\Readme.txt" | cut -d' ' -f1,2)"
check "the log holds the elevated copy's run" log_has "$LOG" "outcome: installed"
check "  and the first run's wait for it" log_has "$LOG" "the elevated copy ended with exit code 0"
expect "  and ends with the code handed on" "exit code: 0" "$(log_text "$LOG" | tail -n1)"

echo "cancelled interactive runs"
pack ia 'Product=DeployIa\r\nProductName=Deploy_Ia\r\nProductNameEnu=Deploy_Ia\r\nProgram=OrvalisDemo.exe\r\n'
launch ia ""
driver wait-window --pid "$P" --title Orvalis --timeout 20000 >/dev/null
driver click --pid "$P" --name btnCancel --timeout 10000 >/dev/null
finished
expect "Cancel in the language dialog: exit code 1602" "1602" "$RC"
launch ia "/M:ENU"
driver wait-window --pid "$P" --title " Install" --timeout 20000 >/dev/null
driver click --pid "$P" --name btnCancel --timeout 10000 >/dev/null
finished
expect "Cancel in the main dialog: exit code 1602" "1602" "$RC"

echo "the README's deployment examples, as written"
# The fenced block that follows the first line of section $1 holding $2.
readme_block() {  # section title, marker
  awk -v section="## $1" -v marker="$2" '
    /^## / { in_section = ($0 == section) }
    in_section && !armed && index($0, marker) { armed = 1; next }
    armed && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$ROOT/README.md"
}
readme_block 'Packing your own product' 'Write a descriptor' | sed 's/$/\r/' > "$WORK/readme.id"
check "the README's descriptor is found" grep -q '^Product=Demo' "$WORK/readme.id"
pack_files "$BIN/OrvalisSetup.exe" "$WORK/readme.id" "$PRODUCT" "$WORK/Demo-Setup.exe" >/dev/null
SETUP_WIN=$(winpath "$WORK/Demo-Setup.exe")
DEMO_KEY="$MACHINE_UNINSTALL\\Demo"
PROGRAMS_DEMO='C:\Program Files\Orvalis\Demo'  # as the Configuration Manager example names it
DEFAULT_DEMO="$PROGRAM_FILES\\Orvalis\\Demo"  # where the setup installs without /P: as administrator
forget_demo() {
  forget_keys "HKLM\\$DEMO_KEY" 'HKCU\Software\Orvalis\Demo'
  rm -rf "$(unixpath "$PROGRAMS_DEMO")" "$(unixpath "$DEFAULT_DEMO")" "$(unixpath 'C:\ProgramData\Orvalis\Logs')"
  rm -f "$(unixpath 'C:\windows\Temp\Demo-setup.log')"
}
# Runs a command line of the README with the setup's full path put in; prints the exit code.
run_readme() {  # command line
  "$WINE" "$RUNRAW" "${1/#Demo-Setup.exe/$SETUP_WIN}" 2>/dev/null | tr -d '\r' | sed -n 's/^exit=//p'
}

forget_demo
command=$(readme_block Deploying 'Install command')
check "Intune: the README has an install command" test -n "$command"
expect "Intune install command: exit code 0" "0" "$(run_readme "$command")"
check "  and it logs where it says" test -s "$(unixpath 'C:\ProgramData\Orvalis\Logs\Demo-setup.log')"
expect "  it installs into Orvalis\\Demo under $PROGRAM_FILES" "$(crc_of "$PRODUCT/OrvalisDemo.exe")" \
  "$(inspect file "$DEFAULT_DEMO\\OrvalisDemo.exe" | cut -d' ' -f1,2)"
query=$(readme_block Deploying 'What the rule reads')
check "Intune: the README shows what the detection rule reads" test -n "$query"
# The rule reads the 32-bit view, where the shipped setup's entry is; the
# 64-bit build's entry is in the 64-bit view.
[ "$BUILD" = win32 ] || query=${query//\/reg:32//reg:64}
eval "set -- $query"
expect "  the detection rule finds DisplayVersion 1.0.0.0" "1.0.0.0" \
  "$("$WINE" "$@" 2>/dev/null | tr -d '\r' | awk '$1 == "DisplayVersion" { print $3 }')"

forget_demo
command=$(readme_block Deploying 'program command line')
check "Configuration Manager: the README has a command line" test -n "$command"
expect "Configuration Manager command line: exit code 0" "0" "$(run_readme "$command")"
expect "  installs where it says" "$(crc_of "$PRODUCT/OrvalisDemo.exe")" \
  "$(inspect file "$PROGRAMS_DEMO\\OrvalisDemo.exe" | cut -d' ' -f1,2)"

forget_demo
readme_block Deploying 'start-up script' | while IFS= read -r line; do
  case $line in "set SETUP="*) line="set SETUP=$SETUP_WIN" ;; esac
  printf '%s\r\n' "$line"
done > "$WORK/install-demo.cmd"
check "Group Policy: the README has the start-up script" grep -q '^start "" /wait' "$WORK/install-demo.cmd"
"$WINE" cmd /c "$(winpath "$WORK/install-demo.cmd")" >/dev/null 2>&1
expect "the start-up script ends with the setup's exit code" "0" "$?"
expect "  it installs" "sz:1.0.0.0" "$(inspect reg HKLM "$DEMO_KEY" DisplayVersion)"
check "  and logs" test -s "$(unixpath 'C:\windows\Temp\Demo-setup.log')"
rm -f "$(unixpath 'C:\windows\Temp\Demo-setup.log')"
"$WINE" cmd /c "$(winpath "$WORK/install-demo.cmd")" >/dev/null 2>&1
check_not "  and skips a machine that has this version" test -e "$(unixpath 'C:\windows\Temp\Demo-setup.log')"
forget_demo

finish
