#!/usr/bin/env bash
# Packed setups under Wine when things go wrong around them: a truncated setup
# program, a disk that fills during extraction, a read-only install folder, a
# path longer than 260 characters, and a user profile whose name is not ASCII.
# Every failing run must say so with the right message, store no settings,
# start no program, and leave the files it wrote intact.
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder faults)
MOUNTS=()

cleanup() {
  local m
  for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null; done
  rm -f "$WINEPREFIX/dosdevices/r:" "$WINEPREFIX/dosdevices/s:"
}
trap cleanup EXIT

for m in "$WORK/full-disk" "$WORK/ro-disk"; do umount "$m" 2>/dev/null; done
rm -rf "$WORK" && mkdir -p "$WORK"
PRODUCTS='FaultTrunc FaultFull FaultRo FaultLong FaultUser'
for p in $PRODUCTS; do
  forget_keys "HKCU\\Software\\Orvalis\\$p" "HKLM\\$MACHINE_UNINSTALL\\$p" "HKCU\\$USER_UNINSTALL\\$p"
done
rm -rf "$WINEPREFIX/drive_c/Fault Trunc" "$WINEPREFIX/drive_c/Fault Long"
# A crash must end the process, not wait on the debugger's dialog.
"$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

find_launch_record

PRODUCT=$WORK/product
stage_product "$PRODUCT"

descriptor() { printf 'Product=%s\\r\\nProductName=%s\\r\\nProductNameEnu=%s\\r\\nProgram=OrvalisDemo.exe\\r\\n' "$1" "$2" "$2"; }

# Runs a setup with an exact command line and answers every message box until
# it ends: No to the elevation offer, OK to plain messages. Sets BOXES (the
# texts, one per line), STARTED (0 when Windows refused to start it) and RC
# (the setup's whole exit code, as run-raw prints it).
run_faulty() {  # exe (Linux path), arguments
  rm -f "$WORK/pid.txt" "$WORK/rc.txt" "$LAUNCH_RECORD"
  ( "$WINE" "$RUNRAW" "$(winpath "$1") $2" > "$WORK/pid.txt" 2>"$WORK/launch.err"; echo $? > "$WORK/rc.txt" ) &
  local runner=$! i pid=
  for i in $(seq 300); do
    [ -f "$WORK/pid.txt" ] && pid=$(tr -d '\r' < "$WORK/pid.txt" | head -n1)
    [ -n "$pid" ] || [ -s "$WORK/rc.txt" ] && break
    sleep 0.1
  done
  BOXES=
  STARTED=0
  [ -n "$pid" ] && STARTED=1
  local rounds=0
  while [ -n "$pid" ] && [ ! -s "$WORK/rc.txt" ] && [ $rounds -lt 8 ]; do
    rounds=$((rounds + 1))
    local box
    box=$(driver answer-box --pid "$pid" --button No --timeout 3000)
    if [ -z "$(fact "$box" pressed)" ] && [ -n "$(fact "$box" text)" ]; then
      box=$(driver answer-box --pid "$pid" --button OK --timeout 3000)
    fi
    [ -n "$(fact "$box" text)" ] && BOXES+="$(fact "$box" text)"$'\n'
  done
  wait_for_file "$WORK/rc.txt" 60
  [ -s "$WORK/rc.txt" ] || { driver wait-exit --pid "$pid" --timeout 1000 >/dev/null; }
  wait "$runner" 2>/dev/null
  RC=$(sed -n 's/^exit=//p' "$WORK/pid.txt" 2>/dev/null | tr -d '\r')
}

# The marks a failed run must not leave: stored settings and a started program.
no_success() {  # product, what
  expect "$2: no install folder stored" "missing" "$(inspect reg HKCU "Software\\Orvalis\\$1\\Setup" Path)"
  expect "$2: no release-notes mark stored" "missing" "$(inspect reg HKCU "Software\\Orvalis\\$1\\Setup" ReleaseNotes)"
  expect "$2: no software-list entry" "missing" "$(inspect reg HKLM "$MACHINE_UNINSTALL\\$1" DisplayName)"
  check_not "$2: the program was not started" test -e "$LAUNCH_RECORD"
}
has_box() { printf '%s' "$BOXES" | grep -qxF -- "$1"; }

UNATTENDED_FAILURE="cannot be installed. Probably there are extra rights needed. Save this program to disk and try running it as 'Administrator'."
NOT_INSTALLED='Not all files could be installed\n\nDo you wish to run the setup as administrator?'
NOT_CREATED="The selected path can't be created. Make sure the pathname is valid and you have the (administrator) rights to create paths.\\n\\nDo you wish to run the setup as administrator?"

echo "a truncated setup program"
pack trunc "$(descriptor FaultTrunc Fault_Trunc)"
# Cut points: in the DOS header, in the PE headers, in the section table, near
# the start and in the middle of the resource section, and inside the last two
# payload streams (Windows refuses every one of these files; Wine maps a file
# that is short by less than a page or two and leaves the rest zero).
CUTS=$($PY - "$WORK/trunc.exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
rsrc = [s for s in pe.sections if s.VirtualAddress == pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress][0]
start, length = rsrc.PointerToRawData, rsrc.SizeOfRawData
table = pe.sections[0].get_file_offset()
payloads = []
for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
    if t.id != 10: continue
    for n in t.directory.entries:
        e = n.directory.entries[0].data.struct
        if n.name is not None and str(n.name).startswith("FILE:") and str(n.name) != "FILE:DISK.ID":
            payloads.append((pe.get_offset_from_rva(e.OffsetToData), e.Size))
payloads.sort()
cuts = [40, pe.DOS_HEADER.e_lfanew + 30, table + 20, start + 64, start + length // 2]
cuts += [at + size - 4 for at, size in payloads[-2:]]
print(*cuts)
PY
)
for cut in $CUTS; do
  head -c "$cut" "$WORK/trunc.exe" > "$WORK/trunc-$cut.exe"
  run_faulty "$WORK/trunc-$cut.exe" "/U /P:\"C:\\Fault Trunc\\$cut\" /M:ENU /R /I"
  what="cut at $cut bytes"
  if [ "$STARTED" = 0 ]; then
    check "$what: Windows refuses to start it" grep -q 'cannot start (error 193)' "$WORK/launch.err"
  else
    check "$what: the run ends without a crash, as failed (exit code $RC)" test "$RC" = 1603
    # A stream cut short is a damaged payload file: reported like one.
    if has_box "Error in the setup program" || has_box "$NOT_INSTALLED"; then
      pass "$what: reports the broken setup program"
    else
      fail "$what: reports the broken setup program"
    fi
    check "$what: then the unattended failure message" has_box "Fault Trunc $UNATTENDED_FAILURE"
    printf '        boxes: %s\n' "$(printf '%s' "$BOXES" | tr '\n' '|')"
  fi
  no_success FaultTrunc "$what"
done

# A small file system that can be full or read-only, seen by Wine as a drive.
mount_disk() {  # folder, size, drive letter
  mkdir -p "$1"
  mount -t tmpfs -o "size=$2,mode=0777" tmpfs "$1" 2>/dev/null || return 1
  MOUNTS+=("$1")
  ln -sfn "$1" "$WINEPREFIX/dosdevices/$3:"
}

echo "a disk that fills during extraction"
FULL_PRODUCT=$WORK/full-product
stage_product "$FULL_PRODUCT"
head -c 3000000 /dev/urandom > "$FULL_PRODUCT/ZBIG.BIN"  # last in payload order, bigger than the disk
pack full "$(descriptor FaultFull Fault_Full)" "$FULL_PRODUCT"
if mount_disk "$WORK/full-disk" 2m r; then
  run_faulty "$WORK/full.exe" '/U /P:"R:\Full" /M:ENU /R /I'
  expect "the disk-full write fails with text 32 and the elevation offer" "$NOT_INSTALLED" \
    "$(printf '%s' "$BOXES" | sed -n 1p)"
  check "then the unattended failure message" has_box "Fault Full $UNATTENDED_FAILURE"
  check "the run ends as failed (exit code $RC)" test "$RC" = 1603
  for f in OrvalisDemo.exe ReadMe.txt Data/customers.csv Data/settings.ini; do
    display=$(printf '%s' "$f" | tr 'A-Z' 'a-z' | sed 's/^./\U&/')
    expect "the file written before the disk filled stays intact: $display" "$(crc_of "$FULL_PRODUCT/$f")" \
      "$(crc_of "$WORK/full-disk/Full/$display" 2>/dev/null)"
  done
  no_success FaultFull "disk full"
else
  echo "  note  mounting a tmpfs is not permitted here: the disk-full case cannot run"
fi

echo "a read-only install folder"
pack ro "$(descriptor FaultRo Fault_Ro)"
if mount_disk "$WORK/ro-disk" 1m s; then
  mkdir -p "$WORK/ro-disk/Existing" && echo keep > "$WORK/ro-disk/Existing/Keep.txt"
  mount -o remount,ro "$WORK/ro-disk"
  run_faulty "$WORK/ro.exe" '/U /P:"S:\Existing" /M:ENU /R /I'
  expect "files that cannot be created: text 32 and the elevation offer" "$NOT_INSTALLED" \
    "$(printf '%s' "$BOXES" | sed -n 1p)"
  check "then the unattended failure message" has_box "Fault Ro $UNATTENDED_FAILURE"
  check "the run ends as failed (exit code $RC)" test "$RC" = 1603
  expect "the file already in the folder stays intact" "keep" "$(cat "$WORK/ro-disk/Existing/Keep.txt")"
  no_success FaultRo "read-only folder"
  run_faulty "$WORK/ro.exe" '/U /P:"S:\Existing\New Folder" /M:ENU /R /I'
  expect "a folder that cannot be created: the folder message and the elevation offer" \
    "$NOT_CREATED" "$(printf '%s' "$BOXES" | sed -n 1p)"
  check "then the unattended failure message" has_box "Fault Ro $UNATTENDED_FAILURE"
  no_success FaultRo "folder not created"
else
  echo "  note  mounting a tmpfs is not permitted here: the read-only case cannot run"
fi

echo "a path longer than 260 characters"
pack long "$(descriptor FaultLong Fault_Long)"
LONG='C:\Fault Long'
while [ ${#LONG} -le 270 ]; do LONG="$LONG\\Segment of a long install path"; done
run_faulty "$WORK/long.exe" "/U /P:\"$LONG\" /M:ENU /R"
LONG_BOXES=$BOXES
echo "  boxes: $(printf '%s' "$LONG_BOXES" | tr '\n' '|')"
if [ -z "$LONG_BOXES" ]; then
  check "the run ends as installed (exit code $RC)" test "$RC" = 0
  # Wine creates paths past MAX_PATH; then the installation must be complete.
  expect "installed into the long path: ReadMe.txt" "$(crc_of "$PRODUCT/ReadMe.txt")" \
    "$(crc_of "$(unixpath "$LONG")/Readme.txt" 2>/dev/null)"
  expect "the long install folder is stored" "sz:$LONG\\" "$(inspect reg HKCU 'Software\Orvalis\FaultLong\Setup' Path)"
else
  check "a refused long path ends with the unattended failure message" has_box "Fault Long $UNATTENDED_FAILURE"
  check "  and as failed (exit code $RC)" test "$RC" = 1603
  no_success FaultLong "long path"
fi

echo "a user profile whose name is not ASCII"
USER_PREFIX=$(dirname "$WINEPREFIX")/prefix-profile
USER_NAME='Jöhn Müller-Ærø'
pack user "$(descriptor FaultUser Fault_User)"
(
  export WINEPREFIX=$USER_PREFIX USER=$USER_NAME LOGNAME=$USER_NAME
  # Made by wineboot, not copied: the profile folder carries the user's name.
  [ -f "$USER_PREFIX/drive_c/windows/system32/kernel32.dll" ] || { rm -rf "$USER_PREFIX"; wineboot_prefix "$USER_PREFIX"; }
  unmanage_windows "$USER_PREFIX"
  # cmd's echo would print the name in the OEM code page: the paths are built here.
  profile_u=$USER_PREFIX/drive_c/users/$USER_NAME
  check "the profile folder carries the name" test -d "$profile_u/AppData/Local"
  mkdir -p "$profile_u/Downloads" && cp "$WORK/user.exe" "$profile_u/Downloads/Setup.exe"
  target="C:\\users\\$USER_NAME\\AppData\\Local\\Orvalis\\FaultUser"
  target_u=$profile_u/AppData/Local/Orvalis/FaultUser
  record=$(find "$profile_u" -maxdepth 3 -type d -name Temp | head -n1)/OrvalisDemo-launch.txt
  rm -f "$record"
  "$WINE" "$RUNRAW" "$(winpath "$profile_u/Downloads/Setup.exe") /U /P:\"$target\" /M:ENU /R /L /I" >/dev/null 2>&1
  expect "a setup started from the profile installs into it" "$(crc_of "$PRODUCT/ReadMe.txt")" \
    "$(crc_of "$target_u/Readme.txt" 2>/dev/null)"
  expect "the install folder is stored with the name" "sz:$target\\" \
    "$(inspect reg HKCU 'Software\Orvalis\FaultUser\Setup' Path)"
  entry=$(inspect reg HKCU "$USER_UNINSTALL\\FaultUser" UninstallString)
  [ "$entry" = missing ] && entry=$(inspect reg HKLM "$MACHINE_UNINSTALL\\FaultUser" UninstallString)
  expect "the software-list entry names the program in the profile" "sz:\"$target\\OrvalisDemo.exe\" /UnInstall" "$entry"
  link=$(find "$USER_PREFIX/drive_c" "$HOME" -path '*Desktop*' -name 'Fault User.lnk' 2>/dev/null | head -n1)
  check "the desktop shortcut is made" test -n "$link"
  check "the program was started" wait_for_file "$record" 10
  expect "  in its folder" "folder=$target" "$(tr -d '\r' < "$record" 2>/dev/null | grep '^folder=')"
  /usr/lib/wine/wineserver -k 2>/dev/null
  echo "$PASSED $FAILED" > "$WORK/profile-counts"
)
read -r PASSED FAILED < "$WORK/profile-counts"

finish
