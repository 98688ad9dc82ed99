#!/usr/bin/env bash
# korvane-cli response and netlist as a script runs them: the documented CSV columns and
# JSON figures (read back with Python), the deck running in ngspice, and usage errors.
#   korvane_cli_response_test.sh <path to korvane-cli>
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A design with an op-amp: three curves over the four whole decades about fo, 400 points
# asked and 401 given so that every decade is a point, written as its literal.
"$cli" response --design --fo 10k --q 5 --h 2 --gbw 10M --format csv >"$work/curve.csv"
python3 - "$work/curve.csv" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="")))
assert len(rows) == 401, len(rows)
decades = [rows[i]["frequency_hz"] for i in range(0, 401, 100)]
assert [float(f) for f in decades] == [1e2, 1e3, 1e4, 1e5, 1e6], decades
assert list(rows[0]) == ["frequency_hz", "target_gain_db", "target_phase_deg", "ideal_gain_db",
                         "ideal_phase_deg", "opamp_gain_db", "opamp_phase_deg"], list(rows[0])
first, last = float(rows[0]["frequency_hz"]), float(rows[-1]["frequency_hz"])
assert 9e3 < (first * last) ** 0.5 < 11e3 and abs(last / first - 1e4) < 1e-6, (first, last)
for row in rows:
    for key in row:
        if key.endswith("phase_deg"):
            assert -180 < float(row[key]) <= 180, row
PY

# The parts alone: no target, no op-amp unless asked.
"$cli" response --r1 10k --r3 100k --c1 10n --c2 10n --points 3 --format csv >"$work/ideal.csv"
head -n 1 "$work/ideal.csv" | grep -qx $'frequency_hz,ideal_gain_db,ideal_phase_deg\r' ||
  fail "columns without --design and --gbw: $(head -n 1 "$work/ideal.csv")"

"$cli" response --design --fo 1k --q 5 --gbw 1M --format json >"$work/figures.json"
python3 - "$work/figures.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
keys = ["peak_hz", "peak_gain_db", "low_3db_hz", "high_3db_hz", "bandwidth_hz", "q_bandwidth",
        "phase_at_peak_deg"]
for curve in ("target", "ideal", "opamp"):
    assert list(doc[curve]) == keys, doc[curve]
assert abs(doc["target"]["peak_hz"] - 1000) < 1e-4, doc["target"]
assert abs(doc["target"]["q_bandwidth"] - 5) < 1e-6, doc["target"]
assert doc["required_gbw_hz"] > 0 and doc["required_slew_v_per_us"] > 0, doc
PY

# The deck's values as a designer writes them: the snapped 15 nF, not 1.4999999999999492e-08.
"$cli" netlist --design >"$work/default.cir"
grep -qx 'C1 sum out 1.5e-08' "$work/default.cir" || fail "C1: $(grep '^C1' "$work/default.cir")"

# The deck runs in ngspice and prints the sweep.
"$cli" netlist --design --fo 1k --q 5 --gbw 1M --points 50 >"$work/deck.cir"
grep -q '^\.ac dec' "$work/deck.cir" || fail "no .ac line"
if command -v ngspice >/dev/null; then
  ngspice -b "$work/deck.cir" >"$work/ngspice.out" 2>&1 || fail "ngspice failed: $(tail "$work/ngspice.out")"
  [[ $(grep -cE '^[0-9]+\s' "$work/ngspice.out") -ge 50 ]] || fail "ngspice printed no sweep"
elif [[ ${CI:-} == true ]]; then
  fail "ngspice is not installed"
fi

# Usage errors and unusable values.
status=0; "$cli" response --r1 10k --fo 1k >/dev/null 2>&1 || status=$?
[[ $status == 2 ]] || fail "--fo without --design: exit $status"
status=0; "$cli" response --design --r1 10k >/dev/null 2>&1 || status=$?
[[ $status == 2 ]] || fail "--r1 with --design: exit $status"
status=0; err=$("$cli" response --r1 10k --r3 100k --c1 10n --c2 10n --points 1 2>&1 >/dev/null) || status=$?
[[ $status == 1 && $err == *"--points"* ]] || fail "one point: exit $status, '$err'"
status=0; err=$("$cli" netlist --r1 0 --r3 100k --c1 10n --c2 10n 2>&1 >/dev/null) || status=$?
[[ $status == 1 && $err == *"no centre frequency"* ]] || fail "R1 = 0: exit $status, '$err'"
# An A0 too low for the tolerance at any GBW: no required GBW, the A0 that would do (ngspice:
# 329.14k - 329.15k), and a warning saying so; the exit status tells a script.
status=0
"$cli" response --r1 1.5k --r2 47 --r3 300k --c1 1n --c2 1n --gbw 100M --format json \
  >"$work/a0.json" 2>"$work/a0.err" || status=$?
[[ $status == 1 ]] || fail "A0 short: exit $status"
python3 - "$work/a0.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
assert doc["required_gbw_hz"] is None, doc
assert 329.13e3 < doc["required_a0"] < 329.16e3, doc
PY
grep -qx "warning: the op-amp's A0 is too low for the tolerance at any GBW: 329\.1[0-9]*k or more is needed" \
  "$work/a0.err" || fail "no A0 warning: $(cat "$work/a0.err")"

# A bare tolerance is per cent: 0.01 is 0.01 %, which an A0 of 100k cannot hold.
status=0
"$cli" response --design --fo 10k --q 10 --h 10 --gbw 1M --tolerance 0.01 --format json \
  >"$work/tight.json" 2>"$work/tight.err" || status=$?
[[ $status == 1 ]] && grep -q "A0 is too low" "$work/tight.err" || fail "--tolerance 0.01: $(cat "$work/tight.err")"

# A GBW that falls short: exit 1, the shortfall and what this GBW serves on standard error.
status=0
"$cli" response --design --fo 50k --q 15 --gbw 10M >/dev/null 2>"$work/short.err" || status=$?
[[ $status == 1 ]] || fail "GBW shortfall: exit $status"
grep -q "^warning: the op-amp's GBW is too low: " "$work/short.err" || fail "$(cat "$work/short.err")"
grep -q "^warning: the op-amp's GBW holds the tolerance up to Q [0-9.]* at fo [0-9.]*kHz, or up to fo" \
  "$work/short.err" || fail "no reach: $(cat "$work/short.err")"
grep -q "korvane-cli optimize" "$work/short.err" || fail "no hint: $(cat "$work/short.err")"

# The rules are stated where the options are.
"$cli" response --help >"$work/help.txt"
for rule in "a bare number too: 1 = 1%" "the opamp curve with --gbw" "exact" "CR LF"; do
  grep -qF "$rule" "$work/help.txt" || fail "--help does not say '$rule'"
done
echo "korvane-cli response and netlist: all checks passed"
