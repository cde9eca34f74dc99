#!/usr/bin/env bash
# Drives the tree view of the control lab (orvalis-controls.exe --page tree)
# under Wine and Xvfb with mouse messages on its nodes: nodes appear as their
# parents open, a 300-character caption ends in "...", NeedTag keeps the
# selection on a click on the untagged item, and Ctrl and Shift clicks across
# two parents give the tags the host reads back. Photos of the page in both
# languages go to out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder tree)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 451 480
own_wine_prefix

EXE=orvalis-controls.exe

# The tree as the driver reads it once it shows a state ("count=9", "selected=Apple").
tree_when() { driver tree --exe $EXE --name Tree1 --until "$1" --timeout "$WAIT_MS"; }
# The tree's nodes once it holds that many, one a line, indented two spaces a level.
nodes() { tree_when "count=$1" | sed -n 's/^item=//p'; }
# A click on a node's caption (or expand button), with --ctrl / --shift.
click() { driver tree-click --exe $EXE --name Tree1 --item "$@" >/dev/null; }

# The open nodes, "|" between them, once the node named is open.
expanded() { tree_when "expanded=$1" | sed -n 's/^expanded=//p' | paste -sd'|'; }
selected() { fact "$(tree_when "selected=$1")" selected; }

tree_page() {  # language
  local lang=$1 root=Garden fruit=Fruit veg=Vegetables apple=Apple pear=Pear bean=Bean carrot=Carrot leek=Leek
  local long="Cherry with a name of three hundred characters:"
  if [ "$lang" = NLD ]; then
    root=Tuin veg=Groenten apple=Appel pear=Peer bean=Boon carrot=Wortel leek=Prei
    long="Kers met een naam van driehonderd tekens:"
  fi
  local n=1
  while [ ${#long} -lt 300 ]; do long+=" $n"; n=$((n + 1)); done
  long=${long:0:300}

  start_lab --page tree --lang "$lang"
  expect_text "$lang tree: first echo" " #0" Tree1Echo
  expect "$lang tree: the host opened the root only" "$root" "$(expanded "$root")"
  expect "$lang tree: every node in item order" \
    "$root|  $fruit|    $apple|    $pear|    ${long:0:252}...|  $veg|    $bean|    $carrot|    $leek" \
    "$(nodes 9 | paste -sd'|')"
  local cherry=${long:0:252}... shown
  shown=$(nodes 9 | sed -n '5s/^ *//p')
  expect "$lang tree: the long caption shows 255 characters ending in \"...\"" "255 ..." "${#shown} ${shown: -3}"

  # The expand buttons; the focus that comes with the first click selects the
  # first node (the platform's rule for a tree without a selection).
  click "$fruit" --expander
  click "$veg" --expander
  expect "$lang tree: both parents opened" "$root|$fruit|$veg" "$(expanded "$veg")"
  expect_text "$lang tree: focus selected the first node" "garden #1" Tree1Echo

  click "$apple"
  expect_text "$lang tree: a plain click" "apple #2" Tree1Echo
  click "$pear"
  expect_text "$lang tree: NeedTag: the untagged item is refused" "apple #2" Tree1Echo
  expect "$lang tree: NeedTag: the tree keeps its selection" "$apple" "$(selected "$apple")"

  click "$cherry" --ctrl
  expect_text "$lang tree: Ctrl adds" "apple,cherry #3" Tree1Echo
  click "$bean" --ctrl
  expect_text "$lang tree: Ctrl adds under the other parent" "apple,cherry,bean #4" Tree1Echo
  # Back to the left edge, which the click on the long caption scrolled away
  # (WM_HSCROLL, SB_THUMBPOSITION 0).
  driver send --exe $EXE --name Tree1 --message 0x114 --wparam 4 >/dev/null
  photograph "tree-$lang"
  click "$apple" --ctrl
  expect_text "$lang tree: Ctrl on a selected item takes it out" "cherry,bean #5" Tree1Echo
  click "$carrot" --shift
  expect_text "$lang tree: Shift to another parent selects only the new item" "carrot #6" Tree1Echo
  click "$leek" --shift
  expect_text "$lang tree: Shift among siblings" "carrot,leek #7" Tree1Echo
  click "$bean"
  click "$leek" --shift
  expect_text "$lang tree: Shift over the siblings between" "bean,carrot,leek #9" Tree1Echo
  click "$apple" --shift
  expect_text "$lang tree: Shift back to the first parent" "apple #10" Tree1Echo
  click "$pear" --ctrl
  expect_text "$lang tree: NeedTag holds with Ctrl" "apple #10" Tree1Echo
  click "$cherry" --shift
  expect_text "$lang tree: a Shift range takes the untagged sibling along" "apple,,cherry #11" Tree1Echo
  stop_lab
}

for lang in ENU NLD; do tree_page "$lang"; done

own_wine_end
finish
