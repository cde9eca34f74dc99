#!/usr/bin/env bash
# The control package for host programs: the export tables of the setup
# executables and OrvalisControls.dll hold exactly the functions
# include/orvalis_controls.h declares, and the sample host in plain C
# (examples/host) runs under Wine and Xvfb: the UI driver types into its
# number and date edits and reads their formatted texts back, the host reads
# the values through the interface, and a click on the viewer's link reaches
# the host's callback, and the choice's line and other text reach the host
# through its change event. The host is photographed to out/photos/BUILD/host.png.
# HOST_EXE names another build of the sample host, with OrvalisControls.dll
# beside it (sdk.sh: the one built from the SDK), whose DLL is checked instead,
# and HOST_NAME the work folder and photograph of its run (default: host).
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
HOST=${HOST_EXE:-$BIN/orvalis-host.exe}
NAME=${HOST_NAME:-host}
WORK=$(work_folder "$NAME")
PHOTOS=$(photo_folder)
mkdir -p "$WORK" "$PHOTOS"

echo "export tables"
for pe in "$BIN/OrvalisSetup.exe" "$(dirname "$HOST")/OrvalisControls.dll"; do
  if $PY "$ROOT/tests/e2e/exports_check.py" "$ROOT/include/orvalis_controls.h" "$pe" >"$WORK/exports.txt" 2>&1; then
    pass "${pe#"$OUT"/} exports exactly the header's functions"
  else
    fail "${pe#"$OUT"/} exports exactly the header's functions"
    head -n 20 "$WORK/exports.txt"
  fi
done

echo "sample host"
own_xvfb 481 510
own_wine_prefix
EXE=orvalis-host.exe
# The check of what the host reads back, shown in the boxes 101 to 105 by
# control id: their text once it is the expected one.
expect_by_id() {  # description, expected, id
  expect "$1" "$2" "$(fact "$(driver text --exe $EXE --id "$3" --until "text=$2" --timeout "$WAIT_MS")" text)"
}

"$BUILD_WINE" "$HOST" >"$WORK/host.log" 2>&1 &
HOST_PID=$!
driver wait-window --exe $EXE --title "Orvalis host" --timeout 20000 >"$WORK/window.txt"
check "the host's window opens" grep -q "title=Orvalis host" "$WORK/window.txt"

# The number edit: the bare form while typing, the formatted one after leaving.
press NumEdit1 shift+end
type_in NumEdit1 "1234,5"
press NumEdit1 tab
expect_text "number edit: formatted after leaving" "1.234,50" NumEdit1
expect_by_id "number edit: the host reads the value" "1234.50" 101

press DateEdit1 shift+end
type_in DateEdit1 "12032014"
press DateEdit1 tab
expect_text "date edit: formatted after leaving" "12-03-2014" DateEdit1
# 12 March 2014 is day 41710 counted from 30 December 1899.
expect_by_id "date edit: the host reads the day number" "41710" 102

type_in ZipEdit1 "1234ab"
press ZipEdit1 tab
expect_by_id "postcode edit: the host reads the code" "1234 AB" 103

driver click --exe $EXE --name Choice1_1 >/dev/null
expect_by_id "choice: the host reads the clicked line" "1/" 104
driver click --exe $EXE --name Choice1_2 >/dev/null
type_in Choice1_Other "by boat"
expect_by_id "choice: the host reads the other text" "2/by boat" 104

driver click --exe $EXE --name Rtf1RichEdit --mouse >/dev/null
expect_by_id "a click on the viewer's link reaches the host's callback" "manual #7" 105

photograph_window $EXE "Orvalis host" "$NAME"

driver close --exe $EXE --title "Orvalis host" >/dev/null
driver wait-exit --exe $EXE --timeout 10000 >/dev/null
wait "$HOST_PID" 2>/dev/null
expect "the host ends cleanly after destroying its controls" "0" "$?"

own_wine_end
finish
