#!/usr/bin/env bash
# Drives the formula line editor of the control lab (orvalis-controls.exe
# --page formula) under Wine and Xvfb: typed characters and keys give the
# display text in the window and the stored form in the echo, a stored form
# with both kinds of variables and constants loaded by btnLoad reads back
# unchanged (echo and clipboard), a form whose variables do not match loads
# empty, and photos of the page in both languages go to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder formula)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 361 390
own_wine_prefix

EXE=orvalis-controls.exe

load_form() {  # stored form
  driver set-text --exe $EXE --name FormulaIn --text "$1" >/dev/null
  driver click --exe $EXE --name btnLoad >/dev/null
}

formula_page() {  # language
  local lang=$1
  start_lab --page formula --lang "$lang"
  expect_text "$lang formula: first echo" " #0" LineEdit1Echo

  # Functions show as words, "," becomes ".", "v" asks the host for a variable.
  press LineEdit1 end
  type_in LineEdit1 "2*s(v)+1,5"
  expect_text "$lang formula: display text" "2*sin([Var1])+1.5" LineEdit1
  expect_text "$lang formula: stored form, a change per token" "2*s(V)+1.5@~x@y #10" LineEdit1Echo
  press LineEdit1 enter
  type_in LineEdit1 "P"
  expect_text "$lang formula: a line break and Pi" '2*sin([Var1])+1.5\r\n Pi ' LineEdit1
  expect_text "$lang formula: their tokens" "2*s(V)+1.5!p@~x@y #12" LineEdit1Echo
  press LineEdit1 home
  press LineEdit1 delete
  press LineEdit1 right
  type_in LineEdit1 $'\b'
  expect_text "$lang formula: Delete and Backspace take tokens" "s(V)+1.5!p@~x@y #14" LineEdit1Echo
  press LineEdit1 ctrl+x
  expect_text "$lang formula: Ctrl+X empties the formula" " #15" LineEdit1Echo
  driver set-text --exe $EXE --name FormulaIn --text "" >/dev/null
  press FormulaIn ctrl+v
  expect_text "$lang formula: what Ctrl+X put on the clipboard" "s(V)+1.5!p@~x@y" FormulaIn

  # Both kinds of variables and constants, loaded and read back.
  local stored='V+V*A-B/C@~x@y@~~0001414243'
  load_form "$stored"
  expect_text "$lang formula: loaded form shown" "[Var2]+[Var3]*{Turnover}-{Costs}/{C}" LineEdit1
  expect_text "$lang formula: loaded form read back, no change event" "$stored #15" LineEdit1Echo
  driver set-text --exe $EXE --name FormulaIn --text "" >/dev/null
  press LineEdit1 ctrl+c
  press FormulaIn ctrl+v
  expect_text "$lang formula: Ctrl+C copies the stored form" "$stored" FormulaIn
  photograph "formula-$lang"

  load_form 'V+V@~x'
  expect_text "$lang formula: variables that do not match load empty" "" LineEdit1
  expect_text "$lang formula: and read back empty" " #15" LineEdit1Echo
  stop_lab
}

for lang in ENU NLD; do
  formula_page "$lang"
done

own_wine_end
finish
