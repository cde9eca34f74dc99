#!/usr/bin/env bash
# Drives the tagged combo box and tagged check list of the control lab
# (orvalis-controls.exe --page tagged) under Wine and Xvfb: SetTag through the
# page's TagIn box ignoring case, Tags matching whole tags only ("1" is not
# "11"), selections and toggles by real keys and by mouse messages reaching
# the echo boxes, and a photo of the page in both languages to
# out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder tagged)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 421 450
own_wine_prefix

EXE=orvalis-controls.exe
LB_SETCURSEL=0x186
WM_LBUTTONDOWN=0x201
WM_LBUTTONUP=0x202

# Hands a text to SetTag (btnSetTag) or to the Tags setter (btnSetTags), "|" for LF.
set_with() {  # button, text
  driver set-text --exe $EXE --name TagIn --text "$2" >/dev/null
  driver click --exe $EXE --name "$1" >/dev/null
}
# A press and release of the left button at x in the middle of a check list row.
click_row() {  # row, x
  local at=$((($1 * 17 + 8) * 65536 + $2))
  driver send --exe $EXE --name TagCheck1 --message $WM_LBUTTONDOWN --wparam 1 --lparam $at >/dev/null
  driver send --exe $EXE --name TagCheck1 --message $WM_LBUTTONUP --wparam 0 --lparam $at >/dev/null
}
# The items of a list, once it holds that many.
items_of() {  # name, count
  driver items --exe $EXE --name "$1" --until "count=$2" --timeout "$WAIT_MS" | sed -n 's/^item=//p' | paste -sd,
}

tagged_page() {  # language
  local lang=$1
  start_lab --page tagged --lang "$lang"
  expect "$lang: items of both lists" "Alpha,Beta,Gamma|a,b,c" "$(items_of TagCombo1 3)|$(items_of TagCheck1 3)"
  expect_text "$lang: first echoes" "A1 #0| #0" TagCombo1Echo TagCheck1Echo

  # SetTag ignores case, matches whole tags only and falls back to the first item.
  set_with btnSetTag b2
  expect_text "$lang combo: SetTag(\"b2\") selects Beta" "Beta|B2 #0" TagCombo1 TagCombo1Echo
  set_with btnSetTag B
  expect_text "$lang combo: part of a tag selects the first item" "Alpha|A1 #0" TagCombo1 TagCombo1Echo

  # Keys choose items; each choice is one change event.
  press TagCombo1 down
  press TagCombo1 down
  expect_text "$lang combo: two items down by the keyboard" "Gamma|C3 #2" TagCombo1 TagCombo1Echo
  press TagCombo1 up
  expect_text "$lang combo: one up" "Beta|B2 #3" TagCombo1 TagCombo1Echo

  # Tags: "1" checks a only, not c tagged "11"; a list of two checks both.
  set_with btnSetTags 1
  expect_text "$lang check list: Tags \"1\" checks only a" "1 #0" TagCheck1Echo
  set_with btnSetTags "11|2"
  expect_text "$lang check list: Tags \"11\" LF \"2\" checks b and c" "2|11 #0" TagCheck1Echo

  # Space toggles the current item, a click on a box toggles its item, a click
  # on a caption only selects.
  driver send --exe $EXE --name TagCheck1 --message $LB_SETCURSEL --wparam 0 >/dev/null
  press TagCheck1 space
  expect_text "$lang check list: Space checks a" "1|2|11 #1" TagCheck1Echo
  click_row 2 5
  expect_text "$lang check list: a click on c's box unchecks it" "1|2 #2" TagCheck1Echo
  click_row 1 80
  expect_text "$lang check list: a click on b's caption changes nothing" "1|2 #2" TagCheck1Echo
  photograph "tagged-$lang"
  stop_lab
}

for lang in ENU NLD; do
  tagged_page "$lang"
done

own_wine_end
finish
