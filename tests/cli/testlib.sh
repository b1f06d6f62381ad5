# Shared by the command-line test scripts: the tool and the sample from the
# environment, a scratch folder removed at exit, and the checks with their
# counts. Sourced, not run.
set -u
cli=${TARN_CLI:?}
sample=${TARN_SAMPLE:?}
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
passed=0
failed=0
check() {  # name, then a command that must succeed
  local name=$1
  shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $name"; failed=$((failed + 1)); fi
}
finish() {  # the suite's name
  echo "$1: $passed passed, $failed failed"
  test "$failed" -eq 0
}
