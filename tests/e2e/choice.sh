#!/usr/bin/env bash
# Drives the choice controls of the control lab (orvalis-controls.exe --page
# choice) under Wine and Xvfb: clicks on the radio buttons move ListIndex once
# per move, the row's buttons share its width, the "other" number edit of
# Choice3 stands beside its last choice and shows only while that choice is
# selected, and typing in it gives OtherText. Photos of the page in both
# languages go to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder choice)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 391 420
own_wine_prefix

EXE=orvalis-controls.exe

click() { driver click --exe $EXE --name "$1" "${@:2}" >/dev/null; }
# The check states of the lines of a choice, once they are the wanted ones.
checked_lines_when() {  # wanted ("1 0 0"), name...
  local wanted states=() i=0 name
  read -r -a wanted <<<"$1"
  shift
  for name in "$@"; do states+=("$(checked_when "$name" "${wanted[i]}")"); i=$((i + 1)); done
  echo "${states[*]}"
}
# x, y, width, height and visibility of a control on the screen, blank-separated;
# with a visibility, once the control has it.
rect_of() {  # name, [visible 0|1]
  local r
  r=$(driver rect --exe $EXE --name "$1" ${2:+--until "visible=$2" --timeout "$WAIT_MS"})
  echo "$(fact "$r" x) $(fact "$r" y) $(fact "$r" width) $(fact "$r" height) $(fact "$r" visible)"
}

choice_page() {  # language
  local lang=$1 last other lx ly lw ox oy ow ov
  start_lab --page choice --lang "$lang"
  expect_text "$lang choice: first echoes" "0/ #0|0/ #0|0/ #0" Choice1Echo Choice2Echo Choice3Echo
  expect "$lang choice: the first line checked" "1 0 0" \
    "$(checked_lines_when "1 0 0" Choice1_0 Choice1_1 Choice1_2)"

  # A click moves the selection and is reported once; the same click again is no change.
  click Choice1_1
  expect_text "$lang choice: a click changes the echo" "1/ #1" Choice1Echo
  expect "$lang choice: only the clicked line checked" "0 1 0" \
    "$(checked_lines_when "0 1 0" Choice1_0 Choice1_1 Choice1_2)"
  click Choice1_1
  expect_text "$lang choice: clicking the checked line again is no change" "1/ #1" Choice1Echo
  click Choice2_2 --mouse
  expect_text "$lang choice: a mouse click in the row" "2/ #1" Choice2Echo
  expect_text "$lang choice: the other choices keep their own selection" "1/ #1" Choice1Echo

  # The row's buttons share its 300 pixels side by side.
  read -r lx ly lw _ _ <<<"$(rect_of Choice2_0)"
  read -r ox oy ow _ _ <<<"$(rect_of Choice2_2)"
  expect "$lang choice: row buttons a third wide, side by side" "100 100 200 0" \
    "$lw $ow $((ox - lx)) $((oy - ly))"

  # The other editor stands beside the short last line and shows only while it is selected.
  last=$(rect_of Choice3_2)
  other=$(rect_of Choice3_Other 0)
  read -r lx ly lw _ _ <<<"$last"
  read -r ox oy ow _ ov <<<"$other"
  expect "$lang choice: editor hidden while another line is selected" "0" "$ov"
  expect "$lang choice: editor beside the last choice, to the control's right edge" "0 1 300" \
    "$((oy - ly)) $((ox - lx - lw)) $((ox + ow - lx))"
  click Choice3_2 --mouse
  expect "$lang choice: editor shown with the last choice" "1" "$(rect_of Choice3_Other 1 | cut -d' ' -f5)"
  expect_text "$lang choice: the other line selected" "2/ #1" Choice3Echo

  # Typing in the editor gives OtherText, each accepted key a change.
  # Shift+End keeps the selection of entry, which the first key replaces.
  press Choice3_Other shift+end
  type_in Choice3_Other "12"
  expect_text "$lang choice: typed text is OtherText" "2/12 #3" Choice3Echo
  click Choice3_0
  expect "$lang choice: editor hidden again" "0" "$(rect_of Choice3_Other 0 | cut -d' ' -f5)"
  expect_text "$lang choice: OtherText kept while hidden" "0/12 #4" Choice3Echo
  click Choice3_2
  photograph "choice-$lang"
  stop_lab
}

for lang in ENU NLD; do
  choice_page "$lang"
done

own_wine_end
finish
