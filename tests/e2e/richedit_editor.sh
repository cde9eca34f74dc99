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

# A fact of one tool bar button, read once it has the wanted value (the last
# value seen when it does not within WAIT_MS).
button_when() {  # command id, fact, wanted
  fact "$(driver toolbar --exe $EXE --name Rtf1ToolBar --command "$1" --until "$2=$3" --timeout "$WAIT_MS")" "$2"
}
checked_when() { button_when "$1" checked "$2"; }
expect_tip() { expect "$1" "$2" "$(button_when "$3" tip "$2")"; }  # description, hint, command id
# Focus elsewhere: the editor's exit event echoes its stored text.
leave_editor() { driver keys --exe $EXE --name Rtf1Echo --text end >/dev/null; }
select_all() { driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 0 --lparam -1 >/dev/null; }

# Command ids of the tool bar: 100 + the item's place, separators counted.
MENU=100 UNDO=102 PASTE=105 BOLD=108 ITALIC=109 UNDERLINE=110 STRIKEOUT=111 FIND=123

hints() {  # language
  if [ "$1" = NLD ]; then
    expect_tip "NLD hint: menu" "Menu" $MENU
    expect_tip "NLD hint: undo" "Ongedaan maken" $UNDO
    expect_tip "NLD hint: paste" "Plakken" $PASTE
    expect_tip "NLD hint: bold" "Vet" $BOLD
    expect_tip "NLD hint: italic" "Schuin" $ITALIC
    expect_tip "NLD hint: underline" "Onderstrepen" $UNDERLINE
    expect_tip "NLD hint: strike-out" "Doorhalen" $STRIKEOUT
    expect_tip "NLD hint: find" "Tekst zoeken" $FIND
  else
    expect_tip "ENU hint: undo" "Undo" $UNDO
    expect_tip "ENU hint: paste" "Paste" $PASTE
    expect_tip "ENU hint: bold" "Bold" $BOLD
    expect_tip "ENU hint: italic" "Italic" $ITALIC
    expect_tip "ENU hint: underline" "Underline" $UNDERLINE
    expect_tip "ENU hint: strike-out" "StrikeOut" $STRIKEOUT
    expect_tip "ENU hint: find" "Find text" $FIND
  fi
}

# Photos with the focus outside the editor and inside it.
photos() {  # language
  leave_editor
  photograph "richedit-editor-$1-unfocused"
  driver keys --exe $EXE --name Rtf1RichEdit --text end >/dev/null
  photograph "richedit-editor-$1-focused"
}

styles() {
  driver type --exe $EXE --name Rtf1RichEdit --text "Hello world" >/dev/null
  select_all
  local id name rtf
  for id in $BOLD $ITALIC $UNDERLINE $STRIKEOUT; do
    expect "button $id up before" 0 "$(checked_when "$id" 0)"
    driver toolbar-click --exe $EXE --name Rtf1ToolBar --command "$id" >/dev/null
    expect "button $id down for the formatted selection" 1 "$(checked_when "$id" 1)"
  done
  leave_editor
  rtf=$(text_holding Rtf1Echo "Hello world")
  # The driver writes a backslash as two; a control word ends at a non-letter.
  for name in b i ul strike; do
    check "Rtf1Echo holds \\$name" grep -qE "\\\\\\\\$name([^a-z]|\$)" <<<"$rtf"
  done
  check "Rtf1Echo holds the typed text" grep -q "Hello world" <<<"$rtf"
}

page_break() {
  driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 11 --lparam 11 >/dev/null
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+enter >/dev/null
  check "Ctrl+Enter puts [NEWPAGE] in" grep -qF "[NEWPAGE]" <<<"$(text_holding Rtf1RichEdit "[NEWPAGE]")"
  leave_editor
  # The driver writes a backslash as two.
  check "the stored text holds \\page" grep -qE '\\\\page([^a-z]|$)' <<<"$(text_holding Rtf1Echo '\\page')"
  check_not "the stored text holds no marker" grep -qF "[NEWPAGE]" <<<"$(text_of Rtf1Echo)"
  local first
  first=$(text_of Rtf1Echo)
  driver click --exe $EXE --name btnReload >/dev/null
  check "reloaded, the page break shows again" grep -qF "[NEWPAGE]" <<<"$(text_holding Rtf1RichEdit "[NEWPAGE]")"
  check "reloaded, the page break is stored again" grep -qE '\\\\page([^a-z]|$)' \
    <<<"$(text_holding Rtf1Echo '\\page')"
  expect_text "a load and save cycle keeps the stored text" "$first" Rtf1Echo
}

# The selection of Rtf1 as "start-end" (EM_GETSEL packs both in its result),
# once it is the wanted one.
selection_of_rtf1() {  # wanted start-end
  local packed
  packed=$(fact "$(driver send --exe $EXE --name Rtf1RichEdit --message 0xB0 \
    --until "result=$(((${1#*-} << 16) + ${1%-*}))" --timeout "$WAIT_MS")" result)
  echo "$((packed & 0xFFFF))-$((packed >> 16))"
}

# The find dialog on the text "alpha Beta beta BETA": forwards without Match
# Case, F3 for the next match, then backwards with Match Case, and a search
# without a match that leaves the selection alone.
find_text() {
  select_all
  driver type --exe $EXE --name Rtf1RichEdit --text "alpha Beta beta BETA" >/dev/null
  expect_text "the text to search" "alpha Beta beta BETA" Rtf1RichEdit
  driver send --exe $EXE --name Rtf1RichEdit --message 0xB1 --wparam 0 --lparam 0 >/dev/null
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+f >/dev/null
  driver type --exe $EXE --name edtFind --text "beta" --timeout "$WAIT_MS" >/dev/null
  driver click --exe $EXE --name btnOk >/dev/null
  expect "find forwards, any case: Beta" "6-10" "$(selection_of_rtf1 6-10)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  expect "F3 finds the next: beta" "11-15" "$(selection_of_rtf1 11-15)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  expect "F3 again: BETA" "16-20" "$(selection_of_rtf1 16-20)"
  driver keys --exe $EXE --name Rtf1RichEdit --text ctrl+f >/dev/null
  expect_text "the dialog keeps the last search text" "beta" edtFind
  driver click --exe $EXE --name chkMatchCase >/dev/null
  driver click --exe $EXE --name chkSearchUp >/dev/null
  driver click --exe $EXE --name btnOk >/dev/null
  expect "find backwards with Match Case: beta" "11-15" "$(selection_of_rtf1 11-15)"
  driver keys --exe $EXE --name Rtf1RichEdit --text f3 >/dev/null
  expect "no earlier match with Match Case: the selection stays" "11-15" "$(selection_of_rtf1 11-15)"
}

read_only() {
  local outer inner
  driver click --exe $EXE --name chkReadOnly >/dev/null
  expect_text "SetReadOnly(true) switches both bars off" "readonly=1 toolbar=0 tabbar=0" chkReadOnlyEcho
  outer=$(fact "$(driver rect --exe $EXE --name Rtf1)" client)
  inner=$(fact "$(driver rect --exe $EXE --name Rtf1RichEdit)" y)
  # Without bars the inner window starts at the top of the control's client
  # area (with bars it sits more than 30 pixels lower).
  local top
  top=$(cut -d, -f2 <<<"$outer")
  check "the inner window moves up to the control's top ($inner, $top)" test $((${inner:-999} - ${top:-0})) -le 2
  driver click --exe $EXE --name chkReadOnly >/dev/null
  expect_text "read-only off does not bring the bars back" "readonly=0 toolbar=0 tabbar=0" chkReadOnlyEcho
}

if [ ! -f "$LAB" ]; then
  fail "missing $LAB"
else
  for lang in ENU NLD; do
    start_lab --page richedit --lang "$lang"
    expect "$lang: window caption" "Orvalis controls" "$(fact "$(cat "$WORK/window.txt")" title)"
    expect_text "$lang: bars on at start" "readonly=0 toolbar=1 tabbar=1" chkReadOnlyEcho
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
