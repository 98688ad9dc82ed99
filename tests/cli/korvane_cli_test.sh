#!/usr/bin/env bash
# korvane-cli as a script runs it: exit codes, output that standard readers accept (Python's
# csv and json modules), help and version, and the batch on a file.
#   korvane_cli_test.sh <path to korvane-cli>
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

expect_exit() {  # expect_exit <code> <command...>
  local want=$1 got=0
  shift
  "$@" >"$work/out" 2>"$work/err" || got=$?
  [[ $got == "$want" ]] || fail "'$*' exited $got, not $want: $(cat "$work/err")"
}

# The default design: the window's report, LF line ends, nothing on standard error.
expect_exit 0 "$cli" design
grep -qx 'fo = 964.575Hz   Q = 1000.000m   H=   1.000' "$work/out" || fail "default report"
! grep -q $'\r' "$work/out" || fail "CR in the terminal report"
[[ ! -s $work/err ]] || fail "messages for a clean design"

# A Q miss: the results and the warning, exit 1.
expect_exit 1 "$cli" design --fo 1k --q 2 --h 10 --format json
grep -q 'Q値の誤差が大きい' "$work/err" || fail "warning not on standard error"
! grep -q $'\r' "$work/err" || fail "CR in the warning on the terminal"
python3 - "$work/out" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1], encoding="utf-8"))
assert doc["command"] == "design", doc
assert doc["results"]["r1"] == {"text": "  3.300k", "value": 3300.0}, doc["results"]["r1"]
assert doc["results"]["r2"] == {"text": "", "value": None}, doc["results"]["r2"]
# JSON readers expect LF line ends, not the window's CR LF.
assert doc["warning"].startswith("Q値の誤差が大きい\n"), doc["warning"]
assert "\r" not in doc["warning"], doc["warning"]
assert doc["error"] is None
PY

# Analysis as CSV, values round-trip.
expect_exit 0 "$cli" analyze --r1 10k --r2 1k --r3 100k --c1 10n --c2 10n --format csv
python3 - "$work/out" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")))
assert len(rows) == 1, rows
row = rows[0]
assert row["fo_result"] == "  1.669k", row
assert float(row["fo_value"]) == 1669.2311254479678, row
assert row["warning"] == "" and row["error"] == "", row
PY

# Errors of the calculation: exit 1 with the error box's text.
expect_exit 1 "$cli" analyze --r1 0 --r3 100k --c1 10n --c2 10n
grep -qx 'error: Floating point division by zero.' "$work/err" || fail "division by zero"

# Usage errors: exit 2, one line naming the problem and pointing to --help.
expect_exit 2 "$cli" analyze --r1 10k
expect_exit 2 "$cli" design --nonsense 1
grep -q -- "--help" "$work/err" || fail "no hint to --help"
[[ $(wc -l <"$work/err") == 1 ]] || fail "usage error longer than a line"
expect_exit 2 "$cli" design --format xml
grep -q 'xml not in {text,json,csv}' "$work/err" || fail "bad format: $(cat "$work/err")"
expect_exit 2 "$cli" design --format 1
expect_exit 2 "$cli"

# An unknown subcommand is named, with the real ones, even among options.
for words in "frobnicate" "frobnicate --fo 1k" "--version-x frobnicate"; do
  # shellcheck disable=SC2086
  expect_exit 2 "$cli" $words
  grep -q "unknown subcommand 'frobnicate'" "$work/err" || fail "$words: $(cat "$work/err")"
  grep -q 'design, analyze, tolerance, response, netlist' "$work/err" ||
    fail "$words: subcommands not listed: $(cat "$work/err")"
done

# Help and version answer on standard output.
expect_exit 0 "$cli" --help
grep -q 'Exit status' "$work/out" || fail "help lacks the exit status"
expect_exit 0 "$cli" design --help
grep -q -- '--series-r' "$work/out" || fail "design help lacks --series-r"
# The parts are required only where no --design can stand for them; choices are words.
for subcommand in tolerance response netlist; do
  expect_exit 0 "$cli" "$subcommand" --help
  grep -q -- '--r1 .*(required without --design)' "$work/out" || fail "$subcommand --r1 help"
  ! grep -q '(required)' "$work/out" || fail "$subcommand help marks a part required"
done
expect_exit 0 "$cli" analyze --help
grep -q -- '--r1 .*(required)' "$work/out" || fail "analyze --r1 help"
expect_exit 0 "$cli" tolerance --help
grep -q -- '--distribution uniform|normal' "$work/out" || fail "distribution help"
! grep -q -- '->' "$work/out" || fail "tolerance help shows a raw map"
expect_exit 2 "$cli" tolerance --distribution cauchy
grep -q 'cauchy not in {uniform,normal}' "$work/err" || fail "bad distribution: $(cat "$work/err")"
expect_exit 0 "$cli" --version
grep -qE '^korvane-cli [0-9]+\.[0-9]+\.[0-9]+$' "$work/out" || fail "version: $(cat "$work/out")"

# A batch file with hostile rows: one output row per input row, a standard reader reads it.
{
  echo 'fo,q,h,zref,series_r,series_c,lock,c2'
  echo '1k,1,1,10k,24,6,,'
  echo '1k,2,10,10k,24,6,0,'
  echo '"1,000",5,2,"10k",E24,6,0,'
  echo '1k,1'
  printf '1k,1,1,10k,24,6,1,4.7n\xff\n'
  echo '0,1,1,10k,24,6,,'
  printf '"never closed,1,1\n'
} >"$work/in.csv"
expect_exit 1 "$cli" design --batch <"$work/in.csv"
python3 - "$work/out" <<'PY'
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="", encoding="utf-8", errors="replace")))
assert len(rows) == 8, len(rows)
assert all(len(row) == 8 + 8 + 8 + 2 for row in rows), [len(row) for row in rows]
errors = [row[-1] for row in rows[1:]]
warnings = [row[-2] for row in rows[1:]]
assert errors[0] == "" and warnings[0] == "", rows[1]
assert warnings[1].startswith("Q値の誤差"), rows[2]
assert "has 2 cells" in errors[3], errors
assert "not valid UTF-8" in errors[4], errors
assert warnings[5] == "ゼロ以下の伝達関数パラメータは不正です", warnings
assert "quoted cell" in errors[6], errors
PY
echo "korvane-cli: all checks passed"
