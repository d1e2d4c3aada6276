# shellcheck shell=bash
# Sourced by the test stages that count their own checks (the Windows and
# packaging stages): each check is one line, ok or FAIL, and the stage ends
# with the counts.
passed=0
failed=0

# check DESCRIPTION COMMAND...: runs the command, counts and reports it.
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
    passed=$((passed + 1))
  else
    echo "FAIL $what"
    failed=$((failed + 1))
  fi
}

# same_bytes FILE EXPECTED: the file holds exactly the expected bytes.
same_bytes() {
  if [ -f "$1" ] && cmp -s "$1" <(printf '%s' "$2"); then return 0; fi
  echo "    $1:" && { od -c "$1" 2>&1 | head -8; }
  echo "    expected:" && printf '%s' "$2" | od -c | head -8
  return 1
}

# same_text WHAT ACTUAL EXPECTED: two strings are equal, else both are shown.
same_text() {
  [ "$2" = "$3" ] && return 0
  printf '    %s:\n%s\n    expected:\n%s\n' "$1" "$2" "$3"
  return 1
}
