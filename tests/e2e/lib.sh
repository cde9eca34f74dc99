# Shared helpers for the end-to-end scripts: counting checks and Wine paths.
# Each script sources this, calls check/pass/fail, and ends with `finish`.
PASSED=0
FAILED=0

pass() { PASSED=$((PASSED + 1)); printf '  ok    %s\n' "$1"; }
fail() { FAILED=$((FAILED + 1)); printf '  FAIL  %s\n' "$1"; }

# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then pass "$what"; else fail "$what"; fi
}

# check_not DESCRIPTION COMMAND...: passes when the command fails.
check_not() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then fail "$what"; else pass "$what"; fi
}

finish() {
  echo "$PASSED passed, $FAILED failed"
  [ "$FAILED" = 0 ]
}

# The Windows path of a Linux path inside the prefix's Z: drive.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

# The project's tools the scripts drive.
PACK=$OUT/linux/orvalis-pack
INSPECT=$OUT/win64/inspect.exe
DRIVER=$OUT/win64/orvalis-uidriver.exe
RUNRAW=$OUT/win64/run-raw.exe

inspect() { "$WINE" "$INSPECT" "$@" 2>/dev/null | tr -d '\r'; }
driver() { "$WINE" "$DRIVER" "$@" 2>/dev/null | tr -d '\r'; }
# One key=value fact of the driver's output, as written (escapes kept).
fact() { printf '%s\n' "$1" | sed -n "s/^$2=//p" | head -n1; }
unixpath() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
expect() {  # description, expected, actual
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1"; printf '        expected: %s\n        actual:   %s\n' "$2" "$3"; fi
}
crc_of() { $PY -c 'import sys, zlib; d = open(sys.argv[1], "rb").read(); print("%d %08x" % (len(d), zlib.crc32(d)))' "$1"; }

wait_for_file() {  # linux path, seconds
  local i
  for i in $(seq $(($2 * 10))); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Starts $WORK/<name>.exe with an exact command line, without waiting, and
# prints its Windows process id. The id goes through a file: the setup inherits
# the launcher's output, so a pipe would stay open until the setup ends.
start_setup() {  # name, arguments
  rm -f "$WORK/pid.txt"
  "$WINE" "$RUNRAW" --no-wait "$(winpath "$WORK/$1.exe") $2" > "$WORK/pid.txt" 2>/dev/null
  tr -d '\r' < "$WORK/pid.txt" | head -n1
}
