#!/usr/bin/env bash
# End-to-end check of orvalis-uidriver.exe: drives its test target window under
# Wine (run by ./dev.sh test, which exports DISPLAY and WINEPREFIX) and prints
# "N passed, N failed" as its last line.
set -u

ROOT=${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
OUT=${OUT:-$ROOT/out}
WINE=${WINE:-/usr/lib/wine/wine64}
BIN=${ORVALIS_BIN:-$OUT/win64}
DRIVER=$BIN/orvalis-uidriver.exe
TARGET=$BIN/orvalis-uidriver-target.exe
EXE=orvalis-uidriver-target.exe
SCRATCH=$(mktemp -d /tmp/orvalis-uidriver.XXXXXX)

passed=0
failed=0
ok() { passed=$((passed + 1)); echo "ok: $1"; }
bad() { failed=$((failed + 1)); echo "FAILED: $1"; }

# Runs the driver; its output lands in $LAST, its exit code in $STATUS.
LAST=
STATUS=0
drive() {
  local output
  output=$("$WINE" "$DRIVER" "$@" 2>/dev/null)
  STATUS=$?
  LAST=$(printf '%s\n' "$output" | tr -d '\r')
}
# The value of the first "key=" line of the last output.
fact() { printf '%s\n' "$LAST" | sed -n "s/^$1=//p" | head -n1; }

check() {  # description, expected, actual
  if [ "$2" = "$3" ]; then ok "$1"; else bad "$1: expected '$2', got '$3'"; fi
}

# A control's text read once, with no wait: an action returns only once the
# target has taken it, so its reaction is there to read.
text_now() {  # description, designer name, expected text
  drive text --exe "$EXE" --name "$2"
  check "$1" "0 $3" "$STATUS $(fact text)"
}
# A control's text once it is the expected one.
text_soon() {  # description, designer name, expected text
  drive text --exe "$EXE" --name "$2" --until "text=$3" --timeout 10000
  check "$1" "0 $3" "$STATUS $(fact text)"
}

finish() {
  rm -rf "$SCRATCH"
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
  exit $?
}

for f in "$DRIVER" "$TARGET"; do
  [ -f "$f" ] || { bad "missing $f"; finish; }
done

# Usage errors come back with exit code 2 and an error fact.
drive poke --exe "$EXE"
check "unknown verb is a usage error" "2 unknown command: poke" "$STATUS $(fact error)"
drive text --exe "$EXE"
check "a control verb needs a control" "2" "$STATUS"

"$WINE" "$TARGET" >/dev/null 2>&1 &
TARGET_JOB=$!

drive wait-window --exe "$EXE" --title "Orvalis Target" --timeout 20000
check "wait-window finds the target" "0 Orvalis Target OrvalisUiTarget frmTarget" \
  "$STATUS $(fact title) $(fact class) $(fact name)"
TARGET_WINDOW=$(fact window)
drive wait-window --pid "$(fact pid)" --timeout 2000
check "wait-window by process id" "0 Orvalis Target" "$STATUS $(fact title)"

drive text --exe "$EXE" --name lStatus
check "text by designer name" "0 Ready" "$STATUS $(fact text)"
drive text --exe "$EXE" --id 106
check "text by control id" "Ask" "$(fact text)"
drive text --exe "$EXE" --class Button --caption Option
check "text by class and caption" "Option" "$(fact text)"

drive click --exe "$EXE" --name btnHello
check "click answers" "0" "$STATUS"
text_now "BM_CLICK reaches the button, handled when click returns" lStatus "Hello clicks: 1"
drive click --exe "$EXE" --class Button --caption "&Hello" --notify
text_now "WM_COMMAND to the parent" lStatus "Hello clicks: 2"
drive click --exe "$EXE" --name btnHello --mouse
text_now "mouse messages click" lStatus "Hello clicks: 3"

drive set-text --exe "$EXE" --name edtName --text "Tëst Map"
check "set-text reports the new text" "Tëst Map" "$(fact text)"
text_now "set-text notifies the window" lEcho "Name: Tëst Map"
drive set-text --exe "$EXE" --name edtName --text ""
drive type --exe "$EXE" --name edtName --text "abc é"
text_now "typed characters arrive one by one, all taken when type returns" lEcho "Name: abc é"

drive items --exe "$EXE" --name lstItems
check "list box items" "3|Één,Two,Three" "$(fact count)|$(printf '%s\n' "$LAST" | sed -n 's/^item=//p' | paste -sd,)"
drive items --exe "$EXE" --name lstItems --until item=Two
check "items --until: one of the items" "0 3" "$STATUS $(fact count)"

drive checked --exe "$EXE" --name chkOption
check "check box starts clear" "0" "$(fact checked)"
drive click --exe "$EXE" --name chkOption
drive checked --exe "$EXE" --name chkOption --until checked=1
check "clicking ticks the check box" "0 1" "$STATUS $(fact checked)"

# A reaction that comes later, in a control that is only made then: --until
# looks for the control again and reads until the state shows.
drive click --exe "$EXE" --name btnLater
drive text --exe "$EXE" --name lLater --until "text=Made later" --timeout 10000
check "--until waits for a control made later and its text" "0 Made later" "$STATUS $(fact text)"
drive text --exe "$EXE" --name lStatus --until "text~=ate" --timeout 10000
check "--until with ~= finds a part of the text" "0 Later" "$STATUS $(fact text)"
drive text --exe "$EXE" --name lStatus --until "text!=Later" --timeout 300
check "past the time: what was seen and what was waited for" "1 Later timed out waiting for text!=Later" \
  "$STATUS $(fact text) $(fact error)"
drive rect --exe "$EXE" --name lLater --until visible=1
check "rect --until visible" "0 1" "$STATUS $(fact visible)"
drive click --exe "$EXE" --name btnHello --until "text=x"
check "--until on a verb that acts is a usage error" "2" "$STATUS"

drive answer-box --exe "$EXE" --button No --timeout 500
check "no box: answer-box times out" "1 no message box" "$STATUS $(fact error)"
drive click --exe "$EXE" --name btnAsk
drive answer-box --exe "$EXE" --button No --timeout 10000
check "answer-box reads the box" "0|Question|Continue with Tëst?|No" \
  "$STATUS|$(fact caption)|$(fact text)|$(fact pressed)"
check "answer-box lists the buttons" "Yes,No,Cancel" "$(printf '%s\n' "$LAST" | sed -n 's/^button=//p' | paste -sd,)"
text_soon "the target saw the answer" lStatus "Answer: No"
drive click --exe "$EXE" --name btnAsk
drive answer-box --exe "$EXE" --button cancel --timeout 10000
text_soon "buttons are named without case" lStatus "Answer: Cancel"

drive rect --exe "$EXE" --title "Orvalis Target"
x=$(fact x); y=$(fact y); w=$(fact width); h=$(fact height)
if [ "$STATUS" = 0 ] && [ "${w:-0}" -gt 100 ] && [ "${h:-0}" -gt 100 ]; then
  ok "rect of the window"
else
  bad "rect of the window: $LAST"
fi
drive rect --exe "$EXE" --name btnHello
bx=$(fact x); by=$(fact y)
if [ -n "$bx" ] && [ "$bx" -ge "$x" ] && [ "$by" -ge "$y" ] && [ "$bx" -lt $((x + w)) ]; then
  ok "rect of a control lies inside its window"
else
  bad "rect of a control: $LAST (window $x,$y ${w}x$h)"
fi
drive wait-painted --exe "$EXE" --title "Orvalis Target"
check "wait-painted: the window has nothing left to paint" "0 $TARGET_WINDOW" "$STATUS $(fact painted)"
if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$SCRATCH/window.png" 2>/dev/null
  check "photograph of the window has its size" "${w}x${h}" "$(identify -format '%wx%h' "$SCRATCH/window.png" 2>/dev/null)"
else
  bad "photograph: no DISPLAY or no ImageMagick"
fi

drive text --exe "$EXE" --name noSuchControl --timeout 300
check "a missing control times out" "1 no control" "$STATUS $(fact error)"

drive controls --exe "$EXE"
names=$(printf '%s\n' "$LAST" | sed -n 's/^name=//p' | sort | paste -sd,)
check "controls lists every designer name" "btnAsk,btnHello,btnLater,chkOption,edtName,frmTarget,lEcho,lLater,lStatus,lstItems" "$names"

drive close --exe "$EXE" --title "Orvalis Target"
drive wait-exit --exe "$EXE" --timeout 10000
check "close ends the target" "0 1" "$STATUS $(fact exited)"
wait "$TARGET_JOB" 2>/dev/null

finish
