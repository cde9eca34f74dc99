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

# Polls a control's text until it equals the expected one (reactions arrive
# through the target's message queue).
expect_text() {  # description, designer name, expected text
  local i value=
  for i in $(seq 30); do
    drive text --exe "$EXE" --name "$2"
    value=$(fact text)
    [ "$value" = "$3" ] && break
    sleep 0.1
  done
  check "$1" "$3" "$value"
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
expect_text "BM_CLICK reaches the button" lStatus "Hello clicks: 1"
drive click --exe "$EXE" --class Button --caption "&Hello" --notify
expect_text "WM_COMMAND to the parent" lStatus "Hello clicks: 2"
drive click --exe "$EXE" --name btnHello --mouse
expect_text "mouse messages click" lStatus "Hello clicks: 3"

drive set-text --exe "$EXE" --name edtName --text "Tëst Map"
check "set-text reports the new text" "Tëst Map" "$(fact text)"
expect_text "set-text notifies the window" lEcho "Name: Tëst Map"
drive set-text --exe "$EXE" --name edtName --text ""
drive type --exe "$EXE" --name edtName --text "abc é"
expect_text "typed characters arrive one by one" lEcho "Name: abc é"

drive items --exe "$EXE" --name lstItems
check "list box items" "3|Één,Two,Three" "$(fact count)|$(printf '%s\n' "$LAST" | sed -n 's/^item=//p' | paste -sd,)"

drive checked --exe "$EXE" --name chkOption
check "check box starts clear" "0" "$(fact checked)"
drive click --exe "$EXE" --name chkOption
for i in $(seq 20); do
  drive checked --exe "$EXE" --name chkOption
  [ "$(fact checked)" = 1 ] && break
  sleep 0.1
done
check "clicking ticks the check box" "1" "$(fact checked)"

drive answer-box --exe "$EXE" --button No --timeout 500
check "no box: answer-box times out" "1 no message box" "$STATUS $(fact error)"
drive click --exe "$EXE" --name btnAsk
drive answer-box --exe "$EXE" --button No --timeout 10000
check "answer-box reads the box" "0|Question|Continue with Tëst?|No" \
  "$STATUS|$(fact caption)|$(fact text)|$(fact pressed)"
check "answer-box lists the buttons" "Yes,No,Cancel" "$(printf '%s\n' "$LAST" | sed -n 's/^button=//p' | paste -sd,)"
expect_text "the target saw the answer" lStatus "Answer: No"
drive click --exe "$EXE" --name btnAsk
drive answer-box --exe "$EXE" --button cancel --timeout 10000
expect_text "buttons are named without case" lStatus "Answer: Cancel"

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
check "controls lists every designer name" "btnAsk,btnHello,chkOption,edtName,frmTarget,lEcho,lStatus,lstItems" "$names"

drive close --exe "$EXE" --title "Orvalis Target"
drive wait-exit --exe "$EXE" --timeout 10000
check "close ends the target" "0 1" "$STATUS $(fact exited)"
wait "$TARGET_JOB" 2>/dev/null

finish
