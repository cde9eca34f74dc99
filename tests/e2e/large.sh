#!/usr/bin/env bash
# One large file end to end: the setup installs a generated 600 MB text
# unattended (the 32-bit one within its smaller address space); the file is checked from inside Windows (size and CRC-32), and
# the setup's peak memory stays small because files are inflated in chunks.
set -u
. "$(dirname "$0")/lib.sh"

WORK=$(work_folder large)
TARGET='C:\orvalis-e2e-large'
SIZE=$((600 * 1000 * 1000))
LIMIT_MIB=100
mkdir -p "$WORK/files"
rm -rf "$(unixpath "$TARGET")"

# A text that compresses well: a few kilobytes of numbered lines over and over.
if [ "$(stat -c %s "$WORK/files/LARGE.TXT" 2>/dev/null)" != "$SIZE" ]; then
  $PY - "$WORK/files/LARGE.TXT" "$SIZE" <<'PY'
import sys
path, size = sys.argv[1], int(sys.argv[2])
block = "".join("line %05d of the large file, the same few kilobytes over and over\r\n" % i
                for i in range(64)).encode("ascii")
block *= (1 << 20) // len(block)
with open(path, "wb") as f:
    left = size
    while left:
        f.write(block[:left])
        left -= min(left, len(block))
PY
fi
expected="$($PY - "$WORK/files/LARGE.TXT" <<'PY'
import sys, zlib
crc, size = 0, 0
with open(sys.argv[1], "rb") as f:
    for block in iter(lambda: f.read(1 << 22), b""):
        crc, size = zlib.crc32(block, crc), size + len(block)
print("%d %08x" % (size, crc))
PY
)"
printf 'Product=Large\r\nProgram=LARGE.TXT\r\n' > "$WORK/DISK.ID"
start=${EPOCHREALTIME/./}
pack_files "$BIN/OrvalisSetup.exe" "$WORK/DISK.ID" "$WORK/files" "$WORK/large.exe" >/dev/null
check "orvalis-pack packs the 600 MB file" test -s "$WORK/large.exe"
printf '  setup %d bytes, packed in %d ms\n' "$(stat -c %s "$WORK/large.exe")" $(((${EPOCHREALTIME/./} - start) / 1000))

# The setup runs as the loader's process itself (the loader starts the Windows
# program in the same Linux process), so the kernel's figures for that process
# are the setup's: peak resident set from wait4 (VmHWM, Wine's own DLLs and the
# mapped image included) and the largest private resident memory seen in
# /proc/PID/status, sampled every 5 ms.
read -r code rss anon seconds < <($PY - "$BUILD_WINE" "$WORK/large.exe" "/U" "/P:$TARGET" <<'PY'
import os, subprocess, sys, threading, time
t0 = time.perf_counter()
proc = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
peak, done = [0], threading.Event()
def sample():
    while not done.is_set():
        try:
            for line in open("/proc/%d/status" % proc.pid):
                if line.startswith("RssAnon:"):
                    peak[0] = max(peak[0], int(line.split()[1]))
        except (OSError, ValueError):
            pass
        done.wait(0.005)
sampler = threading.Thread(target=sample)
sampler.start()
_, status, usage = os.wait4(proc.pid, 0)
done.set()
sampler.join()
print(os.waitstatus_to_exitcode(status), usage.ru_maxrss // 1024, peak[0] // 1024, "%.1f" % (time.perf_counter() - t0))
PY
)
printf '  install %s s, peak resident %s MiB, peak private %s MiB\n' "$seconds" "$rss" "$anon"
expect "the setup exits with 0" 0 "$code"
installed=$(inspect file "$TARGET\\Large.txt")
expect "the installed file has the size and CRC-32 of the original" "$expected" "${installed% *}"
check "the setup's peak resident memory stays within $LIMIT_MIB MiB" test "${rss:-999}" -le "$LIMIT_MIB"
check "its peak private memory stays within $LIMIT_MIB MiB" test "${anon:-999}" -le "$LIMIT_MIB"
expect "no temporary file is left beside it" "Large.txt" "$(ls "$(unixpath "$TARGET")" 2>/dev/null | paste -sd' ')"

rm -rf "$(unixpath "$TARGET")" "$WORK/large.exe"
forget_keys 'HKCU\Software\Orvalis\Large'
finish
