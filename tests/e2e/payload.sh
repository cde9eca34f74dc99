#!/usr/bin/env bash
# Packs real executables with orvalis-pack and checks them from both sides:
# an independent PE reader (python3-pefile) and the payload services running
# inside the packed program under Wine.
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder payload)
rm -rf "$WORK" "$WINEPREFIX/drive_c/orvalis-e2e" && mkdir -p "$WORK/files/Sub"

# The product: 1,000,000 zero bytes, 1,000,000 random bytes, an empty file,
# a file in a subfolder and one with a non-ASCII name.
$PY - "$WORK/files" <<'PY'
import os, random, sys
d = sys.argv[1]
open(os.path.join(d, "zeros.bin"), "wb").write(bytes(1_000_000))
open(os.path.join(d, "random.bin"), "wb").write(random.Random(42).randbytes(1_000_000))
open(os.path.join(d, "empty.txt"), "wb").close()
open(os.path.join(d, "Sub", "nested.txt"), "wb").write(b"in a subfolder\r\n" * 100)
open(os.path.join(d, "caf\u00e9.txt"), "wb").write("caf\u00e9\r\n".encode())
PY
printf 'Product=Probe\r\nProgram=zeros.bin\r\n' > "$WORK/DISK.ID"

# Expected probe output: NAME<TAB>inflated size<TAB>crc32 for every payload entry.
expected() {
  $PY - "$WORK/files" "$WORK/DISK.ID" <<'PY'
import os, sys, zlib
root, disk = sys.argv[1], sys.argv[2]
rows = {"DISK.ID": open(disk, "rb").read()}
for dirpath, _, files in os.walk(root):
    for f in files:
        p = os.path.join(dirpath, f)
        rows[os.path.relpath(p, root).replace("/", "\\").upper()] = open(p, "rb").read()
for name in sorted(rows):
    print("%s\t%d\t%08x" % (name, len(rows[name]), zlib.crc32(rows[name])))
PY
}

probe() {  # packed probe → NAME<TAB>size<TAB>crc sorted, FAILED rows kept
  "$BUILD_WINE" "$1" 2>/dev/null | tr -d '\r' | awk -F'\t' '{ if ($2 == "FAILED") print $1 "\tFAILED"; else print $1 "\t" $3 "\t" $4 }' | sort
}

echo "packing"
pack_files "$BIN/payload-probe.exe" "$WORK/DISK.ID" "$WORK/files" "$WORK/probe.exe"
check "orvalis-pack packs the probe" test -s "$WORK/probe.exe"
expected | sort > "$WORK/expected.txt"
probe "$WORK/probe.exe" > "$WORK/actual.txt"
check "the packed program lists its payload (DISK.ID included) and inflates every file" \
  diff -u "$WORK/expected.txt" "$WORK/actual.txt"
diff -u "$WORK/expected.txt" "$WORK/actual.txt" | head -20

check "--list passes on the packed file" "$PACK" --list "$WORK/probe.exe"

# Determinism: the same inputs give the same bytes, on Linux and from the Windows build of the packer.
pack_files "$BIN/payload-probe.exe" "$WORK/DISK.ID" "$WORK/files" "$WORK/probe2.exe"
check "two packs of the same inputs are identical" cmp "$WORK/probe.exe" "$WORK/probe2.exe"
"$BUILD_WINE" "$BIN/orvalis-pack.exe" --stub "$(winpath "$BIN/payload-probe.exe")" \
  --descriptor "$(winpath "$WORK/DISK.ID")" --files "$(winpath "$WORK/files")" -o "$(winpath "$WORK/probe3.exe")" >/dev/null 2>&1
check "the Windows packer writes the same bytes as the Linux one" cmp "$WORK/probe.exe" "$WORK/probe3.exe"

# One changed trailer byte of one stream: that file fails, every other file still inflates.
damage_stream "$WORK/probe.exe" "$WORK/damaged.exe" RANDOM.BIN
probe "$WORK/damaged.exe" > "$WORK/damaged.txt"
check "a changed trailer byte makes that file fail" grep -qx $'RANDOM.BIN\tFAILED' "$WORK/damaged.txt"
check "every other file still inflates" \
  diff <(grep -v '^RANDOM.BIN' "$WORK/expected.txt") <(grep -v '^RANDOM.BIN' "$WORK/damaged.txt")
check_not "--list fails after one payload byte is flipped" "$PACK" --list "$WORK/damaged.exe"

# The shipped stubs of both targets, packed and read back by pefile.
for target in win64 win32; do
  pack_files "$OUT/$target/OrvalisSetup.exe" "$WORK/DISK.ID" "$WORK/files" "$WORK/setup-$target.exe"
  check "pefile reads the packed $target setup: names, sizes, sections, checksum" \
    "$PY" "$ROOT/tests/pefile_check.py" "$WORK/setup-$target.exe" "$WORK/files"
  "$PY" "$ROOT/tests/pefile_check.py" "$WORK/setup-$target.exe" "$WORK/files" | tail -3
done
# The manifest and version information of the stub survive packing.
manifest_kept() {
  $PY - "$1" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1])
types = {t.id: t for t in pe.DIRECTORY_ENTRY_RESOURCE.entries if t.id is not None}
assert 16 in types, "no version information"
m = types[24].directory.entries[0].directory.entries[0].data.struct
text = pe.get_data(m.OffsetToData, m.Size).decode("utf-8")
assert 'level="highestAvailable"' in text, "no highest-available execution level"
assert "Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text, "no common controls 6"
PY
}
for target in win64 win32; do
  check "the packed $target setup keeps its manifest (highest available, common controls 6) and version" \
    manifest_kept "$WORK/setup-$target.exe"
done
check "the packed $BUILD setup still starts and installs under Wine" "$BUILD_WINE" "$WORK/setup-$BUILD.exe" /U "/P:C:\\orvalis-e2e\\probe"
check "  and its files arrive" cmp "$WORK/files/random.bin" "$WINEPREFIX/drive_c/orvalis-e2e/probe/Random.bin"

finish
