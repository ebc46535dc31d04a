#!/usr/bin/env bash
# Runs one simulator script and compares what it prints with the expected
# output: NAME.out for standard output, and for a malformed script NAME.err
# for the one error line, with exit status 2. (That it prints the same with
# every idle tick delivered is tests/sim/skip_equivalence_test.cpp.)
set -u
sim=$1 case=$2
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail=0
"$sim" <"$case.sim" >"$out" 2>"$err"
status=$?
if [[ -f $case.err ]]; then
  [[ $status -eq 2 ]] || { echo "status $status, expected 2"; fail=1; }
  diff -u "$case.err" "$err" || fail=1
else
  [[ $status -eq 0 ]] || { echo "status $status, expected 0"; fail=1; }
  [[ ! -s $err ]] || { echo "unexpected stderr:"; cat "$err"; fail=1; }
fi
diff -u "$case.out" "$out" || { echo "stdout differs"; fail=1; }
exit $fail
