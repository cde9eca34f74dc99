#!/usr/bin/env bash
# Drives the number and postcode edits of the control lab (orvalis-controls.exe
# --page number, --page postcode) under Wine and Xvfb with real key messages:
# the bare form while a field has the focus and the formatted form after it,
# Escape back to the value of entry, the change-event counts with and without
# ChangeOnExit, copy and paste through the clipboard, and photos of both pages
# focused and unfocused in both languages to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder numbers)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 331 360
own_wine_prefix

EXE=orvalis-controls.exe

# Selects the whole text of an edit (EM_SETSEL 0, -1).
select_all() { driver send --exe $EXE --name "$1" --message 0xB1 --wparam 0 --lparam -1 >/dev/null; }

number_page() {  # language
  local lang=$1
  start_lab --page number --lang "$lang"
  # Without MinimalZero only a bare "0" is blanked: kept decimals show "0,00".
  expect_text "$lang number: zero with its kept decimals" "0,00 EUR" NumEdit1
  expect_text "$lang number: first echoes" "0.00 #0|0 #0|0 #0" NumEdit1Echo NumEdit2Echo NumEdit3Echo

  # Every accepted digit is a change; the third decimal is refused. Shift+End
  # keeps the selection of entry, which the first key replaces.
  press NumEdit1 shift+end
  type_in NumEdit1 "1234567,891"
  expect_text "$lang number: bare form while focused" "1234567,89" NumEdit1
  expect_text "$lang number: a change per accepted key" "1234567.89 #9" NumEdit1Echo
  type_in NumEdit1 "8"
  expect_text "$lang number: an eighth integer digit is refused" "1234567,89" NumEdit1
  photograph "number-$lang-focused"
  press NumEdit2 end
  expect_text "$lang number: formatted form after leaving" "1.234.567,89 EUR" NumEdit1

  # Escape brings back the value of entry and reports it.
  press NumEdit1 end
  expect_text "$lang number: the bare form again on entry" "1234567,89" NumEdit1
  type_in NumEdit1 $'\b\b\b-'
  expect_text "$lang number: backspace over the decimal sign, then the sign" "-1234567" NumEdit1
  expect_text "$lang number: edits reported" "-1234567.00 #12" NumEdit1Echo
  press NumEdit1 escape
  expect_text "$lang number: Escape restores the value" "1234567,89" NumEdit1
  expect_text "$lang number: Escape is a change" "1234567.89 #13" NumEdit1Echo

  # Hexadecimal digits, letters upper-cased.
  press NumEdit2 shift+end
  type_in NumEdit2 "a0f"
  expect_text "$lang number: hexadecimal text" "A0F" NumEdit2
  expect_text "$lang number: hexadecimal value" "2575 #3" NumEdit2Echo

  # ChangeOnExit: typing raises nothing, leaving raises one change.
  press NumEdit3 shift+end
  type_in NumEdit3 "12,5"
  expect_text "$lang number: no change while typing with ChangeOnExit" "0 #0" NumEdit3Echo
  press btnNext space
  expect_text "$lang number: one change on leaving" "12.5 #1" NumEdit3Echo
  expect_text "$lang number: display form of NumEdit3" "12,5" NumEdit3
  press NumEdit3 end
  press btnNext space
  expect_text "$lang number: leaving unchanged raises nothing" "12.5 #1" NumEdit3Echo

  # Copy from NumEdit1 (all selected on entry), paste over NumEdit3's selection.
  press NumEdit1 ctrl+c
  press NumEdit3 ctrl+v
  expect_text "$lang number: pasted through the key rules" "1234567,89" NumEdit3
  expect_text "$lang number: paste waits for leaving" "12.5 #1" NumEdit3Echo
  press btnNext space
  expect_text "$lang number: the paste reported on leaving" "1234567.89 #2" NumEdit3Echo
  photograph "number-$lang-unfocused"
  stop_lab
}

postcode_page() {  # language
  local lang=$1
  start_lab --page postcode --lang "$lang"
  expect_text "$lang postcode: first echoes" " #0| #0" ZipEdit1Echo ZipEdit2Echo

  press ZipEdit1 end
  type_in ZipEdit1 "a12345ab"
  expect_text "$lang postcode: refused keys skipped, letters upper-cased" "1234AB" ZipEdit1
  expect_text "$lang postcode: a change per accepted key" "1234AB #6" ZipEdit1Echo
  photograph "postcode-$lang-focused"
  press btnNext space
  expect_text "$lang postcode: the space after leaving" "1234 AB" ZipEdit1
  expect_text "$lang postcode: read back with the focus on Next" "1234 AB #6" ZipEdit1Echo

  press ZipEdit1 end
  expect_text "$lang postcode: no space while focused" "1234AB" ZipEdit1
  type_in ZipEdit1 $'\b\b'
  expect_text "$lang postcode: backspace from the end" "1234 #8" ZipEdit1Echo
  press ZipEdit1 escape
  expect_text "$lang postcode: Escape restores the code of entry" "1234AB" ZipEdit1
  expect_text "$lang postcode: Escape is a change" "1234AB #9" ZipEdit1Echo

  # ChangeOnExit: a pasted code is reported once, on leaving.
  press ZipEdit1 ctrl+c
  press ZipEdit2 ctrl+v
  expect_text "$lang postcode: pasted code" "1234AB" ZipEdit2
  expect_text "$lang postcode: paste waits for leaving" " #0" ZipEdit2Echo
  press btnNext space
  expect_text "$lang postcode: reported on leaving" "1234 AB #1" ZipEdit2Echo
  press ZipEdit2 end
  type_in ZipEdit2 $'\bB'
  press btnNext space
  expect_text "$lang postcode: typed back to the code of entry: no change" "1234 AB #1" ZipEdit2Echo
  photograph "postcode-$lang-unfocused"
  stop_lab
}

for lang in ENU NLD; do
  number_page "$lang"
  postcode_page "$lang"
done

own_wine_end
finish
