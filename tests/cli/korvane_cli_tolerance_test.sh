#!/usr/bin/env bash
# korvane-cli tolerance as a script runs it: the JSON shape, repeatable seeds, the trials as
# CSV, warnings for hostile inputs and usage errors.
#   korvane_cli_tolerance_test.sh <path to korvane-cli>
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

circuit=(--r1 11k --r2 11k --r3 22k --c1 15n --c2 15n)

# The report names the seed it drew; that seed typed again repeats the run exactly.
expect_exit 0 "$cli" tolerance "${circuit[@]}" --trials 2000
grep -q '^\[Monte Carlo\]$' "$work/out" || fail "no Monte Carlo section"
! grep -q $'\r' "$work/out" || fail "CR in the terminal report"
seed=$(sed -n 's/.*, seed \([0-9]*\)$/\1/p' "$work/out")
[[ -n $seed ]] || fail "no seed shown"
cp "$work/out" "$work/first"
expect_exit 0 "$cli" tolerance "${circuit[@]}" --trials 2000 --seed "$seed"
cmp -s "$work/out" "$work/first" || fail "seed $seed did not repeat the run"

# JSON: the documented shape, R2's entries absent without R2, a seed repeats, another differs.
run=0
for s in 7 7 8; do
  expect_exit 0 "$cli" tolerance --r1 5.1k --r3 22k --c1 15n --c2 15n --seed $s --format json
  cp "$work/out" "$work/run$((run++)).json"
done
python3 - "$work" <<'PY'
import json, os, sys
work = sys.argv[1]
a, b, c = (json.load(open(os.path.join(work, f"run{i}.json"))) for i in range(3))
assert list(a) == ["sensitivity", "worst_case", "monte_carlo", "yield_centre", "yield",
                   "yield_interval"], list(a)
# The keys are lower case, as in design's and analyze's JSON.
assert a["sensitivity"]["fo"] == {"r1": -0.5, "r3": -0.5, "c1": -0.5, "c2": -0.5}, a["sensitivity"]["fo"]
assert a["sensitivity"]["h"]["r1"] == -1.0 and a["sensitivity"]["h"]["r3"] == 1.0
assert set(a["sensitivity"]["q"]) == {"r1", "r3", "c1", "c2"}
for figure in ("fo", "q", "h"):
    low, high = a["worst_case"][figure]
    p = a["monte_carlo"][figure]
    assert list(p) == ["min", "p0_5", "p5", "p50", "p95", "p99_5", "max"], list(p)
    values = list(p.values())
    assert values == sorted(values), values
    assert low <= p["min"] and p["max"] <= high, (figure, low, high, p)
assert a["monte_carlo"]["trials"] == 10000 and a["monte_carlo"]["seed"] == 7
assert 0 <= a["yield_interval"][0] <= a["yield"] <= a["yield_interval"][1] <= 1
assert a == b, "the same seed gave another run"
assert c["monte_carlo"]["seed"] == 8 and c["monte_carlo"]["fo"] != a["monte_carlo"]["fo"]
PY

# The yield about the design's target with --design, about the nominal circuit without:
# the 1 kHz, Q 5, H 2 design snaps to fo 984.03 Hz (1.6 % low), so with exact parts and
# a 1 % limit on fo no trial meets the target, while every trial is its own nominal.
exact=(--tol-r 0 --tol-c 0 --trials 20 --seed 1 --limit-fo 1% --format json)
expect_exit 0 "$cli" tolerance --design --fo 1k --q 5 --h 2 "${exact[@]}"
cp "$work/out" "$work/designed.json"
expect_exit 0 "$cli" tolerance --r1 27k --r2 1.1k --r3 110k --c1 15n --c2 15n "${exact[@]}"
cp "$work/out" "$work/typed.json"
expect_exit 0 "$cli" design --fo 1k --q 5 --h 2 --format json
cp "$work/out" "$work/design.json"
python3 - "$work" <<'PY'
import json, os, sys
work = sys.argv[1]
designed, typed, design = (json.load(open(os.path.join(work, f + ".json")))
                           for f in ("designed", "typed", "design"))
parts = {k: design["results"][k]["value"] for k in ("r1", "r2", "r3", "c1", "c2")}
typed_parts = {"r1": 27e3, "r2": 1.1e3, "r3": 110e3, "c1": 15e-9, "c2": 15e-9}
assert all(abs(parts[k] / typed_parts[k] - 1) < 1e-12 for k in parts), parts
assert designed["yield_centre"] == {"about": "target", "fo": 1000.0, "q": 5.0, "h": 2.0}
assert designed["yield"] == 0.0, designed["yield"]
assert typed["yield_centre"]["about"] == "nominal", typed["yield_centre"]
assert abs(typed["yield_centre"]["fo"] / 984.028 - 1) < 1e-6, typed["yield_centre"]
assert typed["yield"] == 1.0, typed["yield"]
PY
expect_exit 0 "$cli" tolerance --design --fo 1k --q 5 --h 2 --trials 20 --seed 1
grep -q "^about the design's target fo = 1.000k  Q = 5.000  H = 2.000" "$work/out" ||
  fail "report does not say the yield's centre"
expect_exit 0 "$cli" tolerance --help
grep -q 'about the target with --design' "$work/out" || fail "help does not say the centre"

# With an op-amp, the measured figures' sensitivities too, the GBW among the parts; a fast
# op-amp leaves them at the formulas'.
expect_exit 0 "$cli" tolerance "${circuit[@]}" --trials 10 --gbw 1T --a0 1G --format json
python3 - "$work/out" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
model, exact = doc["model_sensitivity"], doc["sensitivity"]
for figure in ("fo", "q", "h"):
    assert list(model[figure]) == ["r1", "r2", "r3", "c1", "c2", "gbw"], model[figure]
    for part, value in exact[figure].items():
        assert abs(model[figure][part] - value) < 1e-6, (figure, part, model[figure][part], value)
PY
expect_exit 0 "$cli" tolerance "${circuit[@]}" --trials 10 --gbw 1M
grep -q '^\[Sensitivity with op-amp\]$' "$work/out" || fail "no op-amp sensitivities"

# The design's circuit, with its kept C2; trials as CSV, one row each.
expect_exit 0 "$cli" tolerance --design --fo 10k --q 5 --h 2 --c2 1n --trials 50 --seed 1 \
  --tol-c 2% --distribution normal --format csv
python3 - "$work/out" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")))
assert len(rows) == 50, len(rows)
assert list(rows[0]) == ["trial", "R1", "R2", "R3", "C1", "C2", "fo_hz", "Q", "H"], list(rows[0])
assert [int(r["trial"]) for r in rows] == list(range(50))
for r in rows:
    assert abs(float(r["C2"]) / 1e-9 - 1) <= 0.02 + 1e-12, r
PY

# Zero tolerances: every trial is the nominal circuit.
expect_exit 0 "$cli" tolerance "${circuit[@]}" --tol-r 0 --tol-c 0% --trials 20 --format csv
[[ $(cut -d, -f7 "$work/out" | tail -n +2 | sort -u | wc -l) == 1 ]] || fail "zero tolerance spread"

# Hostile inputs: the warning on standard error, exit 1, no output.
hostile() {  # hostile <warning> <options...>
  local warning=$1
  shift
  expect_exit 1 "$cli" tolerance "${circuit[@]}" "$@"
  grep -qx "warning: $warning" "$work/err" || fail "$*: $(cat "$work/err")"
  [[ ! -s $work/out ]] || fail "$*: output despite the warning"
}
hostile '公差は0%以上100%未満で入力してください' --tol-r 100%
hostile '公差は0%以上100%未満で入力してください' --tol-c2 -1%
hostile '公差に値を入力してください' --tol-c abc
hostile '試行回数は1以上1000000以下の整数で入力してください' --trials 0
hostile '試行回数は1以上1000000以下の整数で入力してください' --trials 10000000000
hostile 'シードは0以上18446744073709551615以下の整数で入力してください' --seed 18446744073709551616
hostile '歩留まりの許容範囲は0%より大きい値で入力してください' --limit-q 0
hostile 'オペアンプのGBWとA0には正の値を入力してください' --gbw 0
hostile 'オペアンプのGBWとA0には正の値を入力してください' --gbw 1M --a0 x
expect_exit 1 "$cli" tolerance --r1 -11k --r3 22k --c1 15n --c2 15n
grep -qx 'warning: 公差解析には正の部品値が必要です' "$work/err" || fail "negative part"

# Usage errors: exit 2 with one line.
expect_exit 2 "$cli" tolerance --r1 11k
expect_exit 2 "$cli" tolerance "${circuit[@]}" --fo 1k
expect_exit 2 "$cli" tolerance --design --r1 11k
expect_exit 2 "$cli" tolerance "${circuit[@]}" --distribution gauss
[[ $(wc -l <"$work/err") == 1 ]] || fail "usage error longer than a line"

echo "korvane-cli tolerance: all checks passed"
