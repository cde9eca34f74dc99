#!/usr/bin/env bash
# Drives the control lab (orvalis-controls.exe) under Wine and Xvfb: the colour
# dialog opens at the colour button's bottom-left corner and stays inside the
# work area, choosing and cancelling leave the echoed colour right, a click on
# the viewer's web address comes back through OnLink, and both pages are
# photographed in both languages to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder controls)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 150 190

own_wine_prefix

# Photographs the lab's window.

# Opens the colour dialog with btnColor; prints the dialog's x and y and the
# button's left and bottom edge, one a line.
open_dialog() {
  local button dialog title
  button=$(driver rect --exe orvalis-controls.exe --name btnColor)
  driver click --exe orvalis-controls.exe --name btnColor >/dev/null
  # The dialog by its class, then its rectangle by its title (rect's --class names a control).
  title=$(fact "$(driver wait-window --exe orvalis-controls.exe --class "#32770" --timeout 10000)" title)
  dialog=$(driver rect --exe orvalis-controls.exe --title "$title")
  printf '%s\n%s\n%s\n%s\n%s\n%s\n' "$(fact "$dialog" x)" "$(fact "$dialog" y)" "$(fact "$button" x)" \
    "$(($(fact "$button" y) + $(fact "$button" height)))" "$(fact "$dialog" width)" "$(fact "$dialog" height)"
}

# Types a colour into the open dialog's red, green and blue boxes.
type_rgb() {  # red green blue
  driver set-text --exe orvalis-controls.exe --id 706 --text "$1" >/dev/null
  driver set-text --exe orvalis-controls.exe --id 707 --text "$2" >/dev/null
  driver set-text --exe orvalis-controls.exe --id 708 --text "$3" >/dev/null
}

answer() { driver answer-box --exe orvalis-controls.exe --button "$1" --timeout 10000 >/dev/null; }

color_page() {  # language
  local lang=$1
  start_lab --page color --lang "$lang"
  expect "$lang color: window caption" "Orvalis controls" "$(fact "$(cat "$WORK/window.txt")" title)"
  if [ "$lang" = NLD ]; then expect_text "NLD color: Dutch caption" "Kleur..." btnColor; fi
  expect_text "$lang color: starting colour" "000000FF" ColorEcho
  photograph "color-$lang"
  [ "$lang" = ENU ] || { stop_lab; return; }

  # An unknown colour with flag 1: the dialog opens at the button's bottom-left corner.
  driver set-text --exe orvalis-controls.exe --name ColorEcho --text 00123456 >/dev/null
  driver click --exe orvalis-controls.exe --name chkFlag1 >/dev/null
  expect_text "chkFlag1 echoes checked" "1" chkFlag1Echo
  mapfile -t at < <(open_dialog)
  expect "dialog at the button's bottom-left corner" "${at[2]},${at[3]}" "${at[0]},${at[1]}"
  type_rgb 0 128 255
  answer OK
  expect_text "a confirmed choice is echoed" "00FF8000" ColorEcho
  expect_text "confirmed" "1" btnColorEcho

  open_dialog >/dev/null
  type_rgb 255 0 0
  answer Cancel
  text_when btnColorEcho 0 >/dev/null  # the lab has gone on from the dialog
  expect_text "cancelling keeps the colour" "00FF8000" ColorEcho
  expect_text "not confirmed" "0" btnColorEcho

  # Flag 4: the window colour starts as black, and black comes back as the window colour.
  driver set-text --exe orvalis-controls.exe --name ColorEcho --text 80000005 >/dev/null
  driver click --exe orvalis-controls.exe --name chkFlag4 >/dev/null
  open_dialog >/dev/null
  answer OK
  text_when btnColorEcho 1 >/dev/null  # the lab has gone on from the dialog
  expect_text "flag 4: black stays the window colour" "80000005" ColorEcho
  stop_lab

  # A button near the screen's bottom-right corner: the dialog is pulled back inside.
  start_lab --page color --pos 1120,880
  mapfile -t at < <(open_dialog)
  # Xvfb's one 1280 x 1024 screen has no taskbar: the work area is the whole
  # screen. The dialog is placed while it opens, with the size it has then;
  # Wine takes a pixel off its height afterwards, so its bottom may end at 1023.
  local right=$((${at[0]:-0} + ${at[4]:-0})) bottom=$((${at[1]:-0} + ${at[5]:-0}))
  expect "clamped dialog: right edge on the work area's" 1280 "$right"
  check "clamped dialog: bottom edge on the work area's ($bottom)" test "$bottom" -ge 1023 -a "$bottom" -le 1024
  check "clamped dialog: moved left of the button" test "${at[0]:-9999}" -lt "${at[2]:-0}"
  check "clamped dialog: moved above the button's bottom" test "${at[1]:-9999}" -lt "${at[3]:-0}"
  answer Cancel
  stop_lab
}

richedit_page() {  # language
  local lang=$1
  start_lab --page richedit --lang "$lang"
  expect "$lang richedit: window caption" "Orvalis controls" "$(fact "$(cat "$WORK/window.txt")" title)"
  if [ "$lang" = ENU ]; then
    driver type --exe orvalis-controls.exe --name Rtf1RichEdit --text "Lab text" >/dev/null
    local rtf
    rtf=$(text_holding Rtf1Echo "Lab text")
    # The driver writes a backslash as two.
    check "Rtf1Echo holds RTF" test "${rtf:0:6}" = '{\\rtf'

    check "Rtf1Echo holds the typed text" grep -q "Lab text" <<<"$rtf"
    driver click --exe orvalis-controls.exe --name Rtf2RichEdit --mouse >/dev/null
    expect_text "a click on the web address comes back through OnLink" "www.orvalis.example/notes" Rtf2Echo
  fi
  photograph "richedit-$lang"
  stop_lab
}

if [ ! -f "$LAB" ]; then
  fail "missing $LAB"
else
  for lang in ENU NLD; do
    color_page "$lang"
    richedit_page "$lang"
  done
fi

own_wine_end
finish
