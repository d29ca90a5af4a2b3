#!/usr/bin/env bash
# Runs a Windows test binary under Wine for ctest. Now and then a Wine process dies before
# the program in it has started (seen when several start at once); such a run, which ends
# without a word of output, is started again, at most twice. A program that ran and printed
# anything is never repeated, so a failing test still fails.
set -u
status=1
for attempt in 1 2 3; do
  output=$(wine "$@" 2>&1)
  status=$?
  if [[ -n "$output" || $status -eq 0 ]]; then
    printf '%s\n' "$output"
    exit "$status"
  fi
  echo "wine ended with status $status before the program printed anything (attempt $attempt)" >&2
  sleep 1
done
exit "$status"
