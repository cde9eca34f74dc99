#!/usr/bin/env bash
# Fields of the rich text control in the control lab (orvalis-controls.exe,
# page richedit) under Wine and Xvfb: btnFields loads Rtf1 with a "JPEGPICT:"
# image field and the fields A and B; the image is stored as a picture and
# shows when drawn (photo and pixel check), the fields are stored as markers; then
# btnEditFields has the page, as the fields' host, rename every field of the
# text, and Rtf1Echo (GetRichText) holds A2 and B2; selecting the text puts
# their names in Rtf1SelectEcho, and F10 pressed in Rtf1 makes a new field
# (Customer). Photos go to
# out/photos/BUILD/controls/.
# Runs under ./dev.sh test or ./dev.sh e2e (ROOT, OUT, WINE, PY, BUILD set) or alone.
set -u

# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
LAB=$BIN/orvalis-controls.exe
WORK=$(work_folder richedit_fields)
PHOTOS=$(photo_folder controls)
mkdir -p "$WORK" "$PHOTOS"

own_xvfb 191 230

own_wine_prefix

lab() { driver "$1" --exe orvalis-controls.exe "${@:2}"; }
# Rtf1Echo as stored RTF once it holds a text; the driver writes a backslash as two.
stored() { text_holding Rtf1Echo "$1" | sed 's/\\\\/\\/g'; }

# Counts the red and the blue pixels of a screen rectangle: "RED BLUE".
colours_in() {  # x y width height
  rm -f "$WORK/screen.ppm"
  import -window root -depth 8 "$WORK/screen.ppm" 2>>"$WORK/photo.log"
  "$PY" - "$WORK/screen.ppm" "$@" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
width = int(fields[1])
pixels = data[pos + 1:]
x0, y0, w, h = (int(v) for v in sys.argv[2:6])
red = blue = 0
for y in range(y0, y0 + h):
    for x in range(x0, x0 + w):
        r, g, b = pixels[3 * (y * width + x):3 * (y * width + x) + 3]
        red += r > 200 and g < 70 and b < 70
        blue += b > 200 and r < 70 and g < 70
print(red, blue)
EOF
}
# The same counted again until both colours show (at least 100 pixels each)
# or WAIT_MS has passed: the page paints the picture after the click has been
# taken, and the screen shows it once Wine has drawn it there.
picture_colours() {  # x y width height
  local red=0 blue=0 deadline=$((SECONDS + WAIT_MS / 1000))
  while :; do
    read -r red blue < <(colours_in "$@")
    [ "${red:-0}" -ge 100 ] && [ "${blue:-0}" -ge 100 ] && break
    [ "$SECONDS" -ge "$deadline" ] && break
  done
  echo "$red $blue"
}

if [ ! -f "$LAB" ]; then
  fail "missing $LAB"
else
  "$BUILD_WINE" "$LAB" --page richedit --lang ENU >"$WORK/lab.log" 2>&1 &
  LAB_PID=$!
  lab wait-window --title "Orvalis controls" --timeout 20000 >/dev/null

  lab click --name btnFields >/dev/null
  rtf=$(stored "[B]")
  check "the fields are stored as markers" grep -qE '\\protect \[A\]\\protect0 .*\\protect \[B\]\\protect0 ' <<<"$rtf"
  check "the image field is stored as a picture" grep -qF '{\pict\wmetafile8' <<<"$rtf"
  check_not "the image field keeps no marker" grep -qF 'JPEGPICT' <<<"$rtf"

  # Wine's rich edit window paints no embedded pictures: the page draws the
  # first picture of the stored text in Rtf1Picture, red on the left, blue on the right.
  box=$(lab rect --name Rtf1Picture)
  read -r red blue < <(picture_colours "$(fact "$box" x)" "$(fact "$box" y)" "$(fact "$box" width)" "$(fact "$box" height)")
  check "the image shows red ($red pixels)" test "${red:-0}" -ge 100
  check "the image shows blue ($blue pixels)" test "${blue:-0}" -ge 100
  photograph richedit-fields

  lab click --name btnEditFields >/dev/null
  rtf=$(stored "[B2]")
  check "FieldEdit renames A to A2 and B to B2" grep -qE '\\protect \[A2\]\\protect0 .*\\protect \[B2\]\\protect0 ' <<<"$rtf"
  check_not "no field A is left" grep -qF '[A]' <<<"$rtf"
  check "the image stays" grep -qF '{\pict\wmetafile8' <<<"$rtf"
  read -r red blue < <(picture_colours "$(fact "$box" x)" "$(fact "$box" y)" "$(fact "$box" width)" "$(fact "$box" height)")
  check "the image still shows ($red red, $blue blue)" test "${red:-0}" -ge 100 -a "${blue:-0}" -ge 100
  photograph richedit-fields-edited

  # The whole text selected with the keyboard: OnSelectObject names the fields
  # in it (the image field is a plain picture now and has no name).
  lab keys --name Rtf1 --text ctrl+a >/dev/null
  expect_text "selecting the text reports its fields A2 and B2" "A2,B2" Rtf1SelectEcho
  lab keys --name Rtf1 --text home >/dev/null
  expect_text "a selection without fields reports none" "" Rtf1SelectEcho
  # F10 is a system key: it arrives as WM_SYSKEYDOWN, and makes a new field
  # at the caret, which the page's handler names Customer.
  lab keys --name Rtf1 --text end >/dev/null
  lab keys --name Rtf1 --text f10 >/dev/null
  rtf=$(stored "[Customer]")
  check "F10 makes a new field, Customer" grep -qF '\protect [Customer]\protect0' <<<"$rtf"
  check "the fields before it stay" grep -qE '\\protect \[A2\]\\protect0 .*\\protect \[B2\]\\protect0 ' <<<"$rtf"
  photograph richedit-fields-f10

  lab close --title "Orvalis controls" >/dev/null
  lab wait-exit --timeout 10000 >/dev/null
  kill "$LAB_PID" 2>/dev/null
  wait "$LAB_PID" 2>/dev/null
fi

own_wine_end
finish
