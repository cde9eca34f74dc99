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
