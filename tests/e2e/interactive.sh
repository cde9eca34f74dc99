#!/usr/bin/env bash
# Interactive installations of packed setups under Wine and Xvfb, driven through
# the windows' designer names by the UI driver: language, main, options,
# progress and run-or-install windows, their cancel paths, the choices that a
# second run remembers, and photographs of every window in both languages.
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder interactive)
PHOTOS=$(photo_folder setup)
rm -rf "$WORK" && mkdir -p "$WORK" "$PHOTOS"

# Texts are compared decoded here: the driver writes a backslash as "\\" and
# a line break as "\n".
fact() { printf '%b' "$(printf '%s\n' "$1" | sed -n "s/^$2=//p" | head -n1)"; }
facts() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | while IFS= read -r v; do printf '%b\n' "$v"; done | paste -sd'|'; }
# A file of a folder, whatever the case of its name (names take their display case).
has_file() { [ -n "$(find "$1" -maxdepth 1 -iname "$2" 2>/dev/null | head -n1)" ]; }

# The text of a named control of process $P, waiting for it to appear.
# A window that has just appeared may not have its texts yet: an empty text is
# read again until it is filled in (an empty one after the time counts).
text_of() {
  fact "$(driver text --pid "$P" --name "$1" --until 'text!=' --timeout "${2:-10000}")" text
}
checked_of() { fact "$(driver checked --pid "$P" --name "$1" --timeout 5000)" checked; }
items_of() { facts "$(driver items --pid "$P" --name "$1" --timeout 5000)" item; }
# "width height" of a named control.
size_of() { local r; r=$(driver rect --pid "$P" --name "$1" --timeout 5000); echo "$(fact "$r" width) $(fact "$r" height)"; }
click() { driver click --pid "$P" --name "$1" --timeout 10000 >/dev/null; }
# Waits until the window named $1 is shown (visible top-level windows only).
shown() { [ -n "$(fact "$(driver rect --pid "$P" --name "$1" --timeout "${2:-10000}")" rect)" ]; }
gone() { local i; for i in $(seq 50); do shown "$1" 200 || return 0; sleep 0.1; done; return 1; }
ended() { driver wait-exit --pid "$P" --timeout "${1:-20000}" >/dev/null; }

# Photographs the client area of the named window of $P as PHOTOS/<file>.png
# (without a window manager the title bar and borders are never drawn).
photo() {  # file, window name
  local r c x y w h
  driver wait-painted --pid "$P" --name "$2" --timeout "$WAIT_MS" >/dev/null
  r=$(driver rect --pid "$P" --name "$2" --timeout 5000)
  c=$(fact "$r" client)
  if [ -z "$c" ]; then fail "photo $1: no window $2"; return; fi
  IFS=, read -r x y w h <<< "$c"
  import -window root -crop "${w}x${h}+${x}+${y}" "$PHOTOS/$1.png" 2>/dev/null
  check "photo $1" test -s "$PHOTOS/$1.png"
}

find_launch_record

# The product: the demo program and its files, a definition file, an import
# template and two assist files.
PRODUCT=$WORK/product
stage_product "$PRODUCT"
echo report > "$PRODUCT/Report.def"
echo import > "$PRODUCT/Orders.dft"
echo assist > "$PRODUCT/Pf1.qxa"
echo assist > "$PRODUCT/Pf2.qxa"

forget_keys 'HKCU\Software\Orvalis\IaDemo' 'HKCU\Software\Orvalis\IaRun' 'HKCU\Software\Orvalis\IaNote' \
  "HKCU\\$USER_UNINSTALL\\IaDemo" "HKLM\\$MACHINE_UNINSTALL\\IaDemo" \
  "HKCU\\$USER_UNINSTALL\\IaRun" "HKLM\\$MACHINE_UNINSTALL\\IaRun"
rm -rf "$WINEPREFIX/drive_c/IA English" "$WINEPREFIX/drive_c/IA Nederlands" "$WINEPREFIX/drive_c/IA Note"
SETTINGS='Software\Orvalis\IaDemo'

pack demo 'Product=IaDemo\r\nProductName=Orvalis_Demo_NL\r\nProductNameEnu=Orvalis_Demo\r\nProgram=OrvalisDemo.exe /first\r\nVersion=3_24_4_0\r\nPid=7\r\nDate=10-05-2019 10:59\r\nShortCuts=create\r\n'

# ---------------------------------------------------------------- walkthrough

# What a walkthrough needs of a language: its name, the suffix of its photos,
# its stored code, the key that picks it in the language list (none for the
# first entry), the folders it installs into, the texts of its windows and
# boxes (joined by "|" as the checks read them), its kinds of optional files,
# and the entry of the file list it unticks: the key that selects it, the
# setting that remembers it, the files it stands for and the files left ticked.
# shellcheck disable=SC2034  # read by name in walkthrough
declare -A ENGLISH=(
  [language]=English [photos]=en [code]=ENU [pick]=E
  [folder]='C:\IA English' [bad_folder]='C:\IA English\bad|name'
  [main]=' Install|Orvalis Demo|Folder to install to:|Custom/Network installation|Cancel|Install'
  [version]='Version: 3.24.4.0 (7)  Creation date: 10-05-2019 10:59'
  [options]=' Install|Orvalis Demo|Select the files to install|Register this program in the windows softwarelist|Run application after setup|Add link to the desktop|Create program menu'
  [template]='Template file' [import]='Import template' [assist]='Assist file'
  [untick]=T [untick_setting]=NoCopyREPORT.DEF [unticked]='Report.def' [ticked]='Orders.dft Pf1.qxa Pf2.qxa OrvalisDemo.exe ReadMe.txt'
  [not_created]="The selected path can't be created. Make sure the pathname is valid and you have the (administrator) rights to create paths.  Do you wish to run the setup as administrator?"
  [exists]='The installfolder already exists, the program in the folder will be overwritten. Continue?'
  [progress]='Check if all files can be written|Install files|Orvalis Setup'
)
# Nederlands is the list's first entry; the definition file shares its
# initial with the data files, so the assist files are unticked.
# shellcheck disable=SC2034  # read by name in walkthrough
declare -A DUTCH=(
  [language]=Dutch [photos]=nl [code]=NLD [pick]=''
  [folder]='C:\IA Nederlands' [bad_folder]='C:\IA Nederlands\fout|naam'
  [main]=' Installatie|Orvalis Demo NL|Map waarnaar geïnstalleerd dient te worden:|Aangepaste/Netwerk installatie uitvoeren|Annuleren|Installeer'
  [version]='Versie: 3.24.4.0 (7)  Aanmaakdatum: 10-05-2019 10:59'
  [options]=' Installatie|Orvalis Demo NL|Geef aan welke bestanden u wilt installeren|Vermeld het programma in de Windows softwarelijst|Programma starten na installatie|Koppeling op het bureaublad plaatsen|Programma menu aanmaken'
  [template]='Definitie bestand' [import]='Import definitie' [assist]='Assistent bestand'
  [untick]=A [untick_setting]=NoQXA [unticked]='Pf1.qxa Pf2.qxa' [ticked]='Report.def Orders.dft OrvalisDemo.exe ReadMe.txt'
  [not_created]='De map kan niet aangemaakt worden. Zorg dat de gekozen map een geldige naam heeft en dat u (administrator) rechten heeft om mappen aan te maken.  Wilt u nu de setup als beheerder starten?'
  [exists]='De gekozen map bestaat al, het programma in deze map zal worden overschreven. Wilt u doorgaan?'
  [progress]='Controleren of alle bestanden overschreven kunnen worden|Installeren van bestanden|Orvalis Setup'
)

# Two runs of the demo setup in one language, from no stored settings: the
# first picks the language, ticks the custom box, unticks one entry of the file
# list and the program menu, and installs; the second finds those choices
# remembered, comes back to the main dialog after a folder that cannot be made,
# and shows the progress window while a file is held.
walkthrough() {  # name of the language's array
  local -n L=$1
  local folder=${L[folder]} folder_u files f box rtf_h box_h options_h default_path
  folder_u=$(unixpath "$folder")
  forget_keys "HKCU\\$SETTINGS"

  echo "a first interactive run in ${L[language]}"
  rm -f "$LAUNCH_RECORD"
  P=$(start_setup demo "")
  check "the language dialog opens" shown frmLang 20000
  expect "language dialog texts" "Orvalis|Installation language / Installatie taal|Cancel|OK" \
    "$(text_of frmLang)|$(text_of l)|$(text_of btnCancel)|$(text_of btnInstall)"
  expect "language list" "Nederlands|English" "$(items_of List)"
  photo "lang-${L[photos]}" frmLang
  [ -z "${L[pick]}" ] || driver type --pid "$P" --name List --text "${L[pick]}" >/dev/null
  click btnInstall
  check "the main dialog opens" shown SForm 15000
  expect "main dialog texts" "${L[main]}" \
    "$(text_of SForm)|$(text_of Label)|$(text_of lFolder)|$(text_of chkCustom)|$(text_of btnCancel)|$(text_of btnInstall)"
  expect "version line" "${L[version]}" "$(text_of VLabel)"
  default_path=$(text_of Path)
  expect "the default folder is the product folder under Program Files" "$PROGRAM_FILES\\Orvalis\\IaDemo" "$default_path"
  expect "the custom box starts unticked" "0" "$(checked_of chkCustom)"
  read -r _ rtf_h <<< "$(size_of Rtf)"
  read -r _ box_h <<< "$(size_of RtfBox)"
  check "the product text is fitted to its content" test "$rtf_h" -gt 53
  expect "its frame follows the fitted text" "$((rtf_h + 16))" "$box_h"
  photo "main-${L[photos]}" SForm
  driver set-text --pid "$P" --name Path --text "$folder" >/dev/null
  click chkCustom
  click btnInstall
  check "the options dialog opens" shown frmCustom
  expect "options dialog texts" "${L[options]}" \
    "$(text_of frmCustom)|$(text_of Label)|$(text_of lSelect)|$(text_of chkUnInstall)|$(text_of chkRun)|$(text_of chkLink)|$(text_of chkMenu)"
  files=$(items_of List)
  expect "the file list: optional files by name and kind, in payload order, the assist files last" \
    "DATA\\CUSTOMERS.CSV|DATA\\SETTINGS.INI|${L[import]}: ORDERS.DFT|README.TXT|${L[template]}: REPORT.DEF|${L[assist]}" "$files"
  check "the definition file is listed with its kind" grep -q "${L[template]}: REPORT.DEF" <<< "$files"
  check "the import template is listed with its kind" grep -q "${L[import]}: ORDERS.DFT" <<< "$files"
  check "plain files are listed by name" grep -q 'README.TXT' <<< "$files"
  check_not "programs are not listed" grep -q 'ORVALISDEMO.EXE' <<< "$files"
  check "one entry stands for the assist files, last" test "${files##*|}" = "${L[assist]}"
  expect "fresh choices are all ticked" "1 1 1 1" \
    "$(checked_of chkUnInstall) $(checked_of chkRun) $(checked_of chkLink) $(checked_of chkMenu)"
  read -r _ options_h <<< "$(size_of pOptions)"
  expect "four option boxes stack in their frame" "92" "$options_h"
  # Typing selects an entry by its first letter, space toggles it.
  driver type --pid "$P" --name List --text "${L[untick]} " >/dev/null
  click chkMenu
  photo "options-${L[photos]}" frmCustom
  click btnInstall
  check "the run ends" ended 30000
  expect "the options dialog choices are stored" "dword:1 dword:1 missing" \
    "$(inspect reg HKCU "$SETTINGS\\Setup" "${L[untick_setting]}") $(inspect reg HKCU "$SETTINGS\\Setup" NoMenu) $(inspect reg HKCU "$SETTINGS\\Setup" NoLink)"
  expect "custom installation, folder and language are stored" "dword:1|sz:$folder\\|sz:${L[code]}" \
    "$(inspect reg HKCU "$SETTINGS\\Setup" Custom)|$(inspect reg HKCU "$SETTINGS\\Setup" Path)|$(inspect reg HKCU "$SETTINGS" Language)"
  expect "the software-list entry is written per machine" "sz:$(cut -d'|' -f2 <<< "${L[main]}")" \
    "$(inspect reg HKLM "$MACHINE_UNINSTALL\\IaDemo" DisplayName)"
  for f in ${L[unticked]}; do check_not "unticked $f is not installed" has_file "$folder_u" "$f"; done
  for f in ${L[ticked]}; do check "ticked $f is installed" has_file "$folder_u" "$f"; done
  check "the program was started" wait_for_file "$LAUNCH_RECORD" 10
  expect "it runs in the folder with its parameters" "args=/first|folder=$folder" \
    "$(tr -d '\r' < "$LAUNCH_RECORD" 2>/dev/null | paste -sd'|')"

  echo "a second run in ${L[language]} remembers the choices; a failed pass returns to the main dialog"
  rm -f "$LAUNCH_RECORD"; find "$folder_u" -maxdepth 1 -iname Orders.dft -delete
  P=$(start_setup demo "")
  check "the main dialog opens without the language dialog" shown SForm 20000
  check_not "no language dialog" shown frmLang 500
  expect "the custom box and the folder are remembered" "1|$folder\\" "$(checked_of chkCustom)|$(text_of Path)"
  driver set-text --pid "$P" --name Path --text "${L[bad_folder]}" >/dev/null
  click btnInstall
  check "the options dialog opens" shown frmCustom
  click btnInstall
  box=$(driver answer-box --pid "$P" --button No --timeout 10000)
  expect "a folder that cannot be made offers elevation" "${L[not_created]}" "$(fact "$box" text | paste -sd' ')"
  check "the main dialog is back after the failed pass" shown SForm
  expect "with the folder as typed" "${L[bad_folder]}\\" "$(text_of Path)"
  photo "main-failed-${L[photos]}" SForm
  driver set-text --pid "$P" --name Path --text "$folder\\" >/dev/null
  click btnInstall
  check "the options dialog opens again" shown frmCustom
  click btnInstall
  # Hold a file so that the writability check keeps the progress window up.
  hold_file "$folder\\ReadMe.txt" 8
  box=$(driver answer-box --pid "$P" --button Yes --timeout 10000)
  expect "an existing folder is asked about" "${L[exists]}" "$(fact "$box" text)"
  check "the progress window opens" shown frmProgress
  photo "progress-${L[photos]}" frmProgress
  expect "progress texts" "${L[progress]}" "$(text_of Label)|$(text_of lMain)|$(text_of frmProgress)"
  wait "$HOLDER"
  check "the run ends" ended 30000
  for f in ${L[unticked]}; do check_not "unticked $f stays uninstalled" has_file "$folder_u" "$f"; done
  check "a ticked file is installed again" has_file "$folder_u" Orders.dft
  check "the program was started again" wait_for_file "$LAUNCH_RECORD" 10
}

walkthrough ENGLISH

echo "cancel paths of the main and options dialogs"
EN=${ENGLISH[folder]}
EN_U=$(unixpath "$EN")
find "$EN_U" -maxdepth 1 -iname Orders.dft -delete
P=$(start_setup demo "")
check "the main dialog opens" shown SForm 20000
click btnInstall
check "the options dialog opens" shown frmCustom
click btnCancel
check "Cancel closes the options dialog" gone frmCustom
check "and the main dialog is back" shown SForm
expect "with the same folder" "$EN\\" "$(text_of Path)"
click btnInstall
check "the options dialog opens" shown frmCustom
click btnInstall
box=$(driver answer-box --pid "$P" --button No --timeout 10000)
check "the existing folder is asked about" test -n "$(fact "$box" text)"
check "No returns to the main dialog" shown SForm
expect "with the same folder" "$EN\\" "$(text_of Path)"
driver close --pid "$P" --title " Install" >/dev/null
check "the close box ends the run" ended 15000
check_not "nothing was installed" has_file "$EN_U" Orders.dft

walkthrough DUTCH

# ---------------------------------------------------------------- shortcut note
echo "the shortcut note instead of the shortcut boxes"
pack note 'Product=IaNote\r\nProductName=Note_Demo\r\nProductNameEnu=Note_Demo\r\nProgram=OrvalisDemo.exe\r\nShortCuts=reg\r\n'
P=$(start_setup note "/M:ENU")
check "the main dialog opens" shown SForm 20000
click chkCustom
click btnInstall
check "the options dialog opens" shown frmCustom
expect "the note is shown" "Shortcuts are created after the program is run (and registered) for the first time. Do do a workstation installation the application must be run direct once on every workstation." \
  "$(text_of lShortcut)"
read -r _ options_h <<< "$(size_of pOptions)"
expect "two boxes and the note stack in their frame" "111" "$options_h"
photo options-note-en frmCustom
click btnCancel
check "the main dialog is back" shown SForm
driver close --pid "$P" --title " Install" >/dev/null
check "the close box ends the run" ended 15000

# ---------------------------------------------------------------- language Esc
echo "Esc in the language list ends the run"
P=$(start_setup note "")
check "the language dialog opens" shown frmLang 20000
driver type --pid "$P" --name List --text $'\e' >/dev/null
check "the run ends" ended 15000
expect "no language is stored" "missing" "$(inspect reg HKCU 'Software\Orvalis\IaNote' Language)"

# ---------------------------------------------------------------- run or install
echo "a package that may run without installing"
pack run 'Product=IaRun\r\nProductName=Run_Demo\r\nProductNameEnu=Run_Demo\r\nProgram=OrvalisDemo.exe /direct\r\nDirectRun=1\r\n'
rm -f "$LAUNCH_RECORD"
P=$(start_setup run "")
check "the language dialog opens" shown frmLang 20000
driver type --pid "$P" --name List --text E >/dev/null
click btnInstall
check "the run-or-install window opens" shown frmSelectInstall 15000
expect "its texts" "Orvalis|Do you wish to run this program or install it?|Cancel|Execute|install" \
  "$(text_of frmSelectInstall)|$(text_of l)|$(text_of btnCancel)|$(text_of btnExecute)|$(text_of btnInstall)"
photo select-en frmSelectInstall
click btnExecute
check "Execute extracts and ends" ended 30000
check "the program was started" wait_for_file "$LAUNCH_RECORD" 10
expect "from the temporary folder's product folder" "args=/direct|folder=${TEMP_WIN%\\}\\Orvalis\\IaRun" \
  "$(tr -d '\r' < "$LAUNCH_RECORD" 2>/dev/null | paste -sd'|')"
expect "no software-list entry (HKCU)" "missing" "$(inspect reg HKCU "$USER_UNINSTALL\\IaRun" DisplayName)"
expect "no software-list entry (HKLM)" "missing" "$(inspect reg HKLM "$MACHINE_UNINSTALL\\IaRun" DisplayName)"

P=$(start_setup run "")
check "Install: the run-or-install window opens" shown frmSelectInstall 20000
click btnInstall
check "Install goes on to the main dialog" shown SForm 15000
driver close --pid "$P" --title " Install" >/dev/null
check "which ends with its close box" ended 15000

P=$(start_setup run "")
check "the run-or-install window opens" shown frmSelectInstall 20000
driver close --pid "$P" --title "Orvalis" >/dev/null
check "its close box ends the run" ended 15000

"$WINE" reg delete 'HKCU\Software\Orvalis\IaRun' /f >/dev/null 2>&1
P=$(start_setup run "")
check "the language dialog opens" shown frmLang 20000
click btnInstall
check "the run-or-install window opens in Dutch" shown frmSelectInstall 15000
expect "its Dutch texts" "Wilt u dit programma direct uitvoeren of installeren?|Annuleren|Uitvoeren|Installeren" \
  "$(text_of l)|$(text_of btnCancel)|$(text_of btnExecute)|$(text_of btnInstall)"
photo select-nl frmSelectInstall
click btnCancel
check "Cancel ends the run" ended 15000

finish
