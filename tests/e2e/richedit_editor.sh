#!/usr/bin/env bash
# Drives the rich text editor of the control lab (orvalis-controls.exe --page
# richedit) under Wine and Xvfb: the style buttons of the tool bar format a
# selection and show it, Ctrl+Enter puts in a page break that survives a
# round trip through the stored text, read-only mode removes both bars, the
# tool bar's hints come in Dutch and English, and the page is photographed
# focused and unfocused in both languages to out/photos/BUILD/controls/. The
# context menu is not read here: a pop-up menu's items cannot be read from
# another process, so prichedit_editor_test reads the menu as built.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder richedit_editor)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 231 260
own_wine_prefix

EXE=orvalis-controls.exe

# The tool bar's line for a command id: "ID checked=.. mixed=.. hidden=.. enabled=.. tip=..".
button_of() { driver toolbar --exe $EXE --name Rtf1ToolBar | sed -n "s/^button=$1 //p"; }
tip_of() { button_of "$1" | sed -n 's/.* tip=//p'; }
checked_of() { button_of "$1" | sed -n 's/.*checked=\([01]\).*/\1/p'; }
# Focus elsewhere: the editor's exit event echoes its stored text.
leave_editor() { driver keys --exe $EXE --name Rtf1Echo --text end >/dev/null; sleep 0.5; }
select_all() { driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 0 --lparam -1 >/dev/null; }

# Command ids of the tool bar: 100 + the item's place, separators counted.
MENU=100 UNDO=102 PASTE=105 BOLD=108 ITALIC=109 UNDERLINE=110 STRIKEOUT=111 FIND=123

hints() {  # language
  if [ "$1" = NLD ]; then
    expect "NLD hint: menu" "Menu" "$(tip_of $MENU)"
    expect "NLD hint: undo" "Ongedaan maken" "$(tip_of $UNDO)"
    expect "NLD hint: paste" "Plakken" "$(tip_of $PASTE)"
    expect "NLD hint: bold" "Vet" "$(tip_of $BOLD)"
    expect "NLD hint: italic" "Schuin" "$(tip_of $ITALIC)"
    expect "NLD hint: underline" "Onderstrepen" "$(tip_of $UNDERLINE)"
    expect "NLD hint: strike-out" "Doorhalen" "$(tip_of $STRIKEOUT)"
    expect "NLD hint: find" "Tekst zoeken" "$(tip_of $FIND)"
  else
    expect "ENU hint: undo" "Undo" "$(tip_of $UNDO)"
    expect "ENU hint: paste" "Paste" "$(tip_of $PASTE)"
    expect "ENU hint: bold" "Bold" "$(tip_of $BOLD)"
    expect "ENU hint: italic" "Italic" "$(tip_of $ITALIC)"
    expect "ENU hint: underline" "Underline" "$(tip_of $UNDERLINE)"
    expect "ENU hint: strike-out" "StrikeOut" "$(tip_of $STRIKEOUT)"
    expect "ENU hint: find" "Find text" "$(tip_of $FIND)"
  fi
}

# Photos with the focus outside the editor and inside it.
photos() {  # language
  leave_editor
  photograph "richedit-editor-$1-unfocused"
  driver keys --exe $EXE --name Rtf1RichEdit --text end >/dev/null
  sleep 0.3
  photograph "richedit-editor-$1-focused"
}

styles() {
  driver type --exe $EXE --name Rtf1RichEdit --text "Hello world" >/dev/null
  sleep 0.3
  select_all
  sleep 0.3
  local id name rtf
  for id in $BOLD $ITALIC $UNDERLINE $STRIKEOUT; do
    expect "button $id up before" 0 "$(checked_of "$id")"
    driver toolbar-click --exe $EXE --name Rtf1ToolBar --command "$id" >/dev/null
    sleep 0.3
    expect "button $id down for the formatted selection" 1 "$(checked_of "$id")"
  done
  leave_editor
  rtf=$(text_of Rtf1Echo)
  # The driver writes a backslash as two; a control word ends at a non-letter.
  for name in b i ul strike; do
    check "Rtf1Echo holds \\$name" grep -qE "\\\\\\\\$name([^a-z]|\$)" <<<"$rtf"
  done
  check "Rtf1Echo holds the typed text" grep -q "Hello world" <<<"$rtf"
}

page_break() {
  driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 11 --lparam 11 >/dev/null
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+enter >/dev/null
  sleep 0.3
  check "Ctrl+Enter puts [NEWPAGE] in" grep -qF "[NEWPAGE]" <<<"$(text_of Rtf1RichEdit)"
  leave_editor
  check "the stored text holds \\page" grep -qE '\\\\page([^a-z]|$)' <<<"$(text_of Rtf1Echo)"
  check_not "the stored text holds no marker" grep -qF "[NEWPAGE]" <<<"$(text_of Rtf1Echo)"
  local first
  first=$(text_of Rtf1Echo)
  driver click --exe $EXE --name btnReload >/dev/null
  sleep 0.5
  check "reloaded, the page break shows again" grep -qF "[NEWPAGE]" <<<"$(text_of Rtf1RichEdit)"
  check "reloaded, the page break is stored again" grep -qE '\\\\page([^a-z]|$)' <<<"$(text_of Rtf1Echo)"
  expect "a load and save cycle keeps the stored text" "$first" "$(text_of Rtf1Echo)"
}

# The selection of Rtf1 as "start-end" (EM_GETSEL packs both in its result).
selection_of_rtf1() {
  local packed
  packed=$(fact "$(driver send --exe $EXE --name Rtf1RichEdit --message 0xB0)" result)
  echo "$((packed & 0xFFFF))-$((packed >> 16))"
}

# The find dialog on the text "alpha Beta beta BETA": forwards without Match
# Case, F3 for the next match, then backwards with Match Case, and a search
# without a match that leaves the selection alone.
find_text() {
  select_all
  driver type --exe $EXE --name Rtf1RichEdit --text "alpha Beta beta BETA" >/dev/null
  sleep 0.5  # the typed characters are posted: let them all arrive first
  expect "the text to search" "alpha Beta beta BETA" "$(text_of Rtf1RichEdit)"
  driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 0 --lparam 0 >/dev/null
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+f >/dev/null
  sleep 0.5
  driver type --exe $EXE --name edtFind --text "beta" >/dev/null
  driver click --exe $EXE --name btnOk >/dev/null
  sleep 0.3
  expect "find forwards, any case: Beta" "6-10" "$(selection_of_rtf1)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  sleep 0.3
  expect "F3 finds the next: beta" "11-15" "$(selection_of_rtf1)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  sleep 0.3
  expect "F3 again: BETA" "16-20" "$(selection_of_rtf1)"
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+f >/dev/null
  sleep 0.5
  expect "the dialog keeps the last search text" "beta" "$(text_of edtFind)"
  driver click --exe $EXE --name chkMatchCase >/dev/null
  driver click --exe $EXE --name chkSearchUp >/dev/null
  driver click --exe $EXE --name btnOk >/dev/null
  sleep 0.3
  expect "find backwards with Match Case: beta" "11-15" "$(selection_of_rtf1)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  sleep 0.3
  expect "no earlier match with Match Case: the selection stays" "11-15" "$(selection_of_rtf1)"
}

read_only() {
  local outer inner
  driver click --exe $EXE --name chkReadOnly >/dev/null
  sleep 0.5
  expect "SetReadOnly(true) switches both bars off" "readonly=1 toolbar=0 tabbar=0" "$(text_of chkReadOnlyEcho)"
  outer=$(fact "$(driver rect --exe $EXE --name Rtf1)" client)
  inner=$(fact "$(driver rect --exe $EXE --name Rtf1RichEdit)" y)
  # Without bars the inner window starts at the top of the control's client
  # area (with bars it sits more than 30 pixels lower).
  local top
  top=$(cut -d, -f2 <<<"$outer")
  check "the inner window moves up to the control's top ($inner, $top)" test $((${inner:-999} - ${top:-0})) -le 2
  driver click --exe $EXE --name chkReadOnly >/dev/null
  sleep 0.5
  expect "read-only off does not bring the bars back" "readonly=0 toolbar=0 tabbar=0" "$(text_of chkReadOnlyEcho)"
}

if [ ! -f "$LAB" ]; then
  fail "missing $LAB"
else
  for lang in ENU NLD; do
    start_lab --page richedit --lang "$lang"
    expect "$lang: window caption" "Orvalis controls" "$(fact "$(cat "$WORK/window.txt")" title)"
    expect "$lang: bars on at start" "readonly=0 toolbar=1 tabbar=1" "$(text_of chkReadOnlyEcho)"
    hints "$lang"
    photos "$lang"
    if [ "$lang" = ENU ]; then
      styles
      find_text
      page_break
      read_only
    fi
    stop_lab
  done
fi

own_wine_end
finish
