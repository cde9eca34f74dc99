#!/usr/bin/env bash
# Drives the data-entry pages of the control lab (orvalis-controls.exe) under
# Wine and Xvfb with real key messages: the masked edit's mask, Escape, change
# counts with and without ChangeOnExit, a paste and the incomplete-field
# complaint; the date edit's bare and formatted forms, Escape, stepping, a
# paste and its calendar pop-up kept on the screen. Every page is photographed
# focused and unfocused in both languages to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder entry)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 300 330
own_wine_prefix

EXE=orvalis-controls.exe

# Focus into a field with the caret at its end, and out of it to btnNext.
enter_field() { press "$1" end; }
leave_field() { driver click --exe $EXE --name btnNext --mouse >/dev/null; }
# EM_GETSEL packed as end * 65536 + start, once it is the one wanted.
selection_when() {  # name, wanted
  fact "$(driver send --exe $EXE --name "$1" --message 0xB0 --until "result=$2" --timeout "$WAIT_MS")" result
}

masked_page() {  # language
  local lang=$1 box
  start_lab --page masked --lang "$lang"
  expect_text "$lang masked: first echo" " #0" MaskEdit1Echo
  photograph "masked-$lang-unfocused"

  enter_field MaskEdit1
  type_in MaskEdit1 "1234ab"
  expect_text "$lang masked: 0000 AA fills the space and capitals" "1234 AB" MaskEdit1
  expect_text "$lang masked: one change a character" "1234 AB #6" MaskEdit1Echo
  photograph "masked-$lang-focused"
  type_in MaskEdit1 "9"
  expect_text "$lang masked: a full mask refuses more" "1234 AB" MaskEdit1
  press MaskEdit1 escape
  expect_text "$lang masked: Escape restores the entry text" "" MaskEdit1
  expect_text "$lang masked: Escape is one change" " #7" MaskEdit1Echo
  type_in MaskEdit1 "5678xy"
  leave_field
  expect_text "$lang masked: leaving a full field" "5678 XY #13" MaskEdit1Echo

  # ChangeOnExit: typing reports nothing, leaving reports once.
  enter_field MaskEdit3
  type_in MaskEdit3 "1234"
  expect_text "$lang masked: 00-00 writes the hyphen" "12-34" MaskEdit3
  expect_text "$lang masked: no change before the exit" " #0" MaskEdit3Echo
  leave_field
  expect_text "$lang masked: one change on exit" "12-34 #1" MaskEdit3Echo

  # A paste of MaskEdit3's text into MaskEdit2 through the clipboard keys.
  enter_field MaskEdit3
  driver send --exe $EXE --name MaskEdit3 --message 0xB1 --wparam 0 --lparam -1 >/dev/null
  press MaskEdit3 ctrl+c
  enter_field MaskEdit2
  press MaskEdit2 ctrl+v
  expect_text "$lang masked: paste" "12-34" MaskEdit2
  expect_text "$lang masked: a paste is one change" "12-34 #1" MaskEdit2Echo

  # Backspace at the end takes the digit and the hyphen before it.
  press MaskEdit2 backspace
  press MaskEdit2 backspace
  expect_text "$lang masked: backspace removes the literal too" "12" MaskEdit2

  # Leaving an incomplete field: the complaint, then the focus comes back.
  leave_field
  box=$(driver answer-box --exe $EXE --button OK --timeout 10000)
  if [ "$lang" = NLD ]; then
    expect "$lang masked: complaint" \
      "De invoer voldoet niet aan het gevraagde format. Vul het volledige veld of wis de invoer" "$(fact "$box" text)"
  else
    expect "$lang masked: complaint" \
      "The entry does not match the required format. Fill in the whole field or clear the entry" "$(fact "$box" text)"
  fi
  expect "$lang masked: caret at the end after the complaint" "$((2 * 65536 + 2))" \
    "$(selection_when MaskEdit2 $((2 * 65536 + 2)))"
  type_in MaskEdit2 "56"
  expect_text "$lang masked: the focus came back to the field" "12-56" MaskEdit2
  leave_field
  expect "$lang masked: no complaint for a full field" "" \
    "$(fact "$(driver answer-box --exe $EXE --button OK --timeout 1500)" text)"
  stop_lab
}

# The screen rectangle of a control as "x y width height" once it is shown
# (1), or nothing once it is hidden (0); hidden windows are looked at too.
rect_when() {  # name, 1|0
  local r
  r=$(driver rect --exe $EXE --name "$1" --all --until "visible=$2" --timeout "$WAIT_MS")
  [ "$(fact "$r" visible)" = 1 ] &&
    printf '%s %s %s %s' "$(fact "$r" x)" "$(fact "$r" y)" "$(fact "$r" width)" "$(fact "$r" height)"
}

date_page() {  # language
  local lang=$1 field pick
  start_lab --page date --lang "$lang"
  expect_text "$lang date: first echo" " #0" DateEdit1Echo
  photograph "date-$lang-unfocused"

  enter_field DateEdit1
  type_in DateEdit1 "120314"
  expect_text "$lang date: bare digits while typing" "120314" DateEdit1
  expect_text "$lang date: six digits make the date" "2014-03-12 #1" DateEdit1Echo
  leave_field
  expect_text "$lang date: leaving shows hyphens" "12-03-2014" DateEdit1
  enter_field DateEdit1
  expect_text "$lang date: entering shows bare digits" "12032014" DateEdit1
  photograph "date-$lang-focused"
  type_in DateEdit1 ">"
  expect_text "$lang date: > steps a day" "2014-03-13 #2" DateEdit1Echo
  press DateEdit1 escape
  expect_text "$lang date: Escape restores the date of entry" "2014-03-12 #3" DateEdit1Echo
  expect_text "$lang date: Escape shows it" "12032014" DateEdit1

  # ChangeOnExit: separators close one-digit fields; one change on leaving.
  enter_field DateEdit2
  type_in DateEdit2 "5-3-2014"
  expect_text "$lang date: separators pad day and month" "05032014" DateEdit2
  expect_text "$lang date: no change before the exit" " #0" DateEdit2Echo
  leave_field
  expect_text "$lang date: one change on exit" "2014-03-05 #1" DateEdit2Echo
  expect_text "$lang date: formatted on exit" "05-03-2014" DateEdit2

  # A paste goes through the input rule character by character.
  enter_field DateEdit1
  driver send --exe $EXE --name DateEdit1 --message 0xB1 --wparam 0 --lparam -1 >/dev/null
  press DateEdit1 ctrl+c
  enter_field DateEdit2
  driver send --exe $EXE --name DateEdit2 --message 0xB1 --wparam 0 --lparam -1 >/dev/null
  press DateEdit2 ctrl+v
  expect_text "$lang date: pasted digits" "12032014" DateEdit2
  leave_field
  expect_text "$lang date: the paste reported on exit" "2014-03-12 #2" DateEdit2Echo

  # F4: the calendar below the field; Right and Enter pick the next day.
  press DateEdit1 f4
  field=$(rect_when DateEdit1 1)
  pick=$(rect_when DateEdit1Pick 1)
  check "$lang date: F4 shows the calendar" test -n "$pick"
  read -r fx fy _ fh <<<"$field"
  read -r px py _ _ <<<"${pick:-0 0 0 0}"
  expect "$lang date: calendar at the field's left" "$fx" "$px"
  expect "$lang date: calendar below the field" "$((fy + fh))" "$py"
  press DateEdit1Calendar right
  press DateEdit1Calendar enter
  expect "$lang date: Enter in the calendar closes it" "" "$(rect_when DateEdit1Pick 0)"
  expect_text "$lang date: the picked day" "2014-03-13 #4" DateEdit1Echo
  stop_lab
}

# Near the right and bottom edges the calendar is pulled back onto the screen.
calendar_at_edges() {
  local screen sw sh pick px py pw ph field fy
  start_lab --page date --lang ENU --pos 1000,900
  press DateEdit1 f4
  screen=$(xdpyinfo 2>/dev/null | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
  read -r sw sh <<<"${screen:-1280 1024}"
  pick=$(rect_when DateEdit1Pick 1)
  check "edges: F4 shows the calendar" test -n "$pick"
  read -r px py pw ph <<<"${pick:-0 0 0 0}"
  field=$(rect_when DateEdit1 1)
  read -r _ fy _ _ <<<"$field"
  check "edges: calendar inside the right edge ($px+$pw <= $sw)" test $((px + pw)) -le "$sw"
  check "edges: calendar inside the bottom edge ($py+$ph <= $sh)" test $((py + ph)) -le "$sh"
  check "edges: calendar moved up over the field" test "$py" -lt "$fy"
  press DateEdit1Calendar escape
  expect "edges: Escape closes the calendar" "" "$(rect_when DateEdit1Pick 0)"
  stop_lab
}

for lang in ENU NLD; do masked_page $lang; done
for lang in ENU NLD; do date_page $lang; done
calendar_at_edges

own_wine_end
finish
