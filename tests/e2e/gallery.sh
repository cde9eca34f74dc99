#!/usr/bin/env bash
# Photographs the control gallery under Wine and Xvfb, once without visual
# styles (classic) and once with Wine's own light theme, and checks known
# pixels of each photo. Photos go to out/photos/win64/gallery/.
# Runs under ./dev.sh test (ROOT, OUT, WINE, PY set, Xvfb on DISPLAY) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
EXE=${GALLERY_EXE:-$BIN/orvalis-gallery.exe}
WORK=$(work_folder gallery)
PHOTOS=$(photo_folder gallery)
mkdir -p "$WORK" "$PHOTOS"
started=$(date +%s.%N)

own_xvfb 150 190

own_wine_environment

THEME_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'

# One prefix per look, made once and kept: a fresh prefix has the light theme
# on; the classic one has ThemeActive "0".
prepare_prefix() {  # look
  local prefix=$WORK/prefix-$1
  make_prefix "$prefix"
  local want=1
  [ "$1" = classic ] && want=0
  WINEPREFIX=$prefix "$WINE" reg add "$THEME_KEY" /v ThemeActive /t REG_SZ /d $want /f >/dev/null 2>&1
  # The theme setting is read when the server starts.
  WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null
  WINEPREFIX=$prefix "$WINESERVER" -w 2>/dev/null
}

photograph() {  # look, focus, photo name
  local look=$1 focus=$2 name=$3
  local prefix=$WORK/prefix-$look rects=$WORK/$name.rects stop=$WORK/$name.stop
  rm -f "$rects" "$stop"
  WINEPREFIX=$prefix "$WINE" "$EXE" --rects "$(winpath "$rects")" --stop "$(winpath "$stop")" \
    --focus "$focus" --hover btnHot --press btnPressed >"$WORK/$name.log" 2>&1 &
  local pid=$!
  for _ in $(seq 300); do [ -s "$rects" ] && grep -q '^themed' "$rects" && break; sleep 0.1; done
  # Photographed once the gallery is idle with nothing left to paint.
  WINEPREFIX=$prefix driver wait-painted --exe "$(basename "$EXE")" --timeout "$WAIT_MS" >/dev/null
  if [ -s "$rects" ]; then
    import -window root -crop 1060x720+0+0 "$PHOTOS/$name.png" 2>>"$WORK/$name.log"
  fi
  touch "$stop"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null  # a gallery that did not stop by itself
  wait "$pid" 2>/dev/null
  if [ ! -s "$PHOTOS/$name.png" ]; then
    fail "$name: no photograph (see $WORK/$name.log)"
    return
  fi
  pass "$name photographed"
  convert "$PHOTOS/$name.png" ppm:"$WORK/$name.ppm"
  local line
  while IFS= read -r line; do
    case $line in
      ok\ *) pass "$name: ${line#ok }" ;;
      FAIL\ *) fail "$name: ${line#FAIL }" ;;
    esac
  done < <("$PY" "$ROOT/tests/e2e/gallery_check.py" "$WORK/$name.ppm" "$rects" "$look")
}

if [ ! -f "$EXE" ]; then
  fail "missing $EXE"
else
  for look in classic themed; do
    prepare_prefix "$look"
    photograph "$look" btnDefault "$look"
    photograph "$look" chkFocused "$look-check"
    photograph "$look" rbFocused "$look-radio"
    WINEPREFIX=$WORK/prefix-$look "$WINESERVER" -k 2>/dev/null
  done
fi

[ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
echo "gallery test took $(printf '%.1f' "$(echo "$(date +%s.%N) - $started" | bc)") s"
finish
