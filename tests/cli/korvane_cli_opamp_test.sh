#!/usr/bin/env bash
# korvane-cli with real op-amps as a script runs them: the catalogue's names, a part by name
# on every subcommand that takes one, an unknown name as a usage error, the user's own
# catalogue, the noise's documented JSON keys and CSV columns, and the deck of
# 'netlist --opamp' run through ngspice's .noise against 'korvane-cli noise'.
#   korvane_cli_opamp_test.sh <path to korvane-cli>
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# No user catalogue of the person running the tests.
export XDG_CONFIG_HOME=$work/config
circuit=(--design --fo 1k --q 5 --h 2)

# The names, one a line, exit 0: what the bash completion offers for --opamp.
"$cli" opamps --names >"$work/names" 2>"$work/names.err" || fail "opamps --names failed"
grep -qx TL072 "$work/names" || fail "no TL072 among the names"
[[ ! -s "$work/names.err" ]] || fail "warnings with the shipped catalogue: $(cat "$work/names.err")"
[[ $(sort -u "$work/names" | wc -l) == $(wc -l <"$work/names") ]] || fail "a name twice"

# An unknown name is a usage error that suggests the nearest names, on each subcommand.
for subcommand in response netlist tolerance noise; do
  status=0
  err=$("$cli" "$subcommand" "${circuit[@]}" --opamp TL027 2>&1 >/dev/null) || status=$?
  [[ $status == 2 && $err == *"TL072"* ]] || fail "$subcommand --opamp TL027: exit $status, '$err'"
done
status=0; err=$("$cli" noise "${circuit[@]}" --opamp XYZZY12345 2>&1 >/dev/null) || status=$?
[[ $status == 2 && $err == *"opamps --names"* ]] || fail "far name: exit $status, '$err'"

# A part by name (any case) is its figures; a figure typed beside it takes its place.
"$cli" response "${circuit[@]}" --opamp ne5532 --format json >"$work/part.json"
"$cli" response "${circuit[@]}" --gbw 10M --a0 100k --slew 9 --swing 2 --format json \
  >"$work/typed.json"
cmp -s "$work/part.json" "$work/typed.json" || fail "NE5532 by name differs from its figures"
"$cli" response "${circuit[@]}" --opamp NE5532 --gbw 1M --format json >"$work/override.json"
python3 - "$work/part.json" "$work/override.json" <<'PY'
import json, sys
part, override = (json.load(open(p)) for p in sys.argv[1:])
assert part["opamp"]["peak_hz"] != override["opamp"]["peak_hz"], "--gbw did not override"
h = part["headroom"]
assert set(h) == {"max_input_v", "limit", "peak_output_v", "peak_sum_node_v",
                  "peak_output_current_a"}, h
# +-15 V less 2 V at each rail leaves a 13 V peak; a 1 V input gives the output's peak, so
# 13 V over it is the largest clean input, and the NE5532's 9 V/us allows far more.
assert h["limit"] == "swing" and abs(h["max_input_v"] * h["peak_output_v"] / 13 - 1) < 1e-12, h
assert abs(h["peak_output_v"] / 10 ** (part["opamp"]["peak_gain_db"] / 20) - 1) < 1e-6, h
PY

# Bad settings are refused, named by their option.
status=0; err=$("$cli" response "${circuit[@]}" --gbw 1M --slew -1 2>&1 >/dev/null) || status=$?
[[ $status == 1 && $err == *"--slew needs a positive number, not '-1'"* ]] || fail "slew -1: '$err'"
status=0; err=$("$cli" noise "${circuit[@]}" --amplitude 1e308 2>&1 >/dev/null) || status=$?
[[ $status == 1 && $err == *"--amplitude must be at most"* ]] || fail "amplitude 1e308: '$err'"
status=0; err=$("$cli" noise "${circuit[@]}" --temperature -300 2>&1 >/dev/null) || status=$?
[[ $status == 1 && $err == *"absolute zero"* ]] || fail "temperature -300: '$err'"

# The noise's JSON keys and CSV columns, as documented; absent sources' columns left out.
"$cli" noise "${circuit[@]}" --opamp NE5532 --format json >"$work/noise.json"
python3 - "$work/noise.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
assert list(doc) == ["output_rms_v", "band_hz", "noise_bandwidth_hz", "density_at_peak_v_rthz",
                     "input_referred_at_peak_v_rthz", "contributions", "snr_db",
                     "dynamic_range_db"], list(doc)
assert list(doc["contributions"]) == ["r1", "r2", "r3", "en", "in"], doc["contributions"]
assert abs(sum(c["share"] for c in doc["contributions"].values()) - 1) < 1e-12
assert all(set(c) == {"rms_v", "share"} for c in doc["contributions"].values())
# The band defaults to fo / 10 .. 10 fo of the analysed fo (not the target's 1 kHz).
low, high = doc["band_hz"]
assert abs(high / low - 100) < 1e-9 and 900 < (low * high) ** 0.5 < 1000, doc["band_hz"]
PY
"$cli" noise "${circuit[@]}" --opamp NE5532 --format csv --points 5 >"$work/noise.csv"
[[ $(head -n 1 "$work/noise.csv") == $'frequency_hz,total_v_rthz,r1_v_rthz,r2_v_rthz,r3_v_rthz,en_v_rthz,in_v_rthz\r' ]] ||
  fail "noise CSV header: $(head -n 1 "$work/noise.csv")"
[[ $(wc -l <"$work/noise.csv") == 6 ]] || fail "noise CSV rows"
"$cli" noise --r1 10k --r3 100k --c1 10n --c2 10n --format csv --points 5 >"$work/ideal.csv"
[[ $(head -n 1 "$work/ideal.csv") == $'frequency_hz,total_v_rthz,r1_v_rthz,r3_v_rthz\r' ]] ||
  fail "ideal noise CSV header: $(head -n 1 "$work/ideal.csv")"

# The user's catalogue adds a part and overrides a shipped one; a bad row warns (file, line)
# and the rest still loads.
mkdir -p "$XDG_CONFIG_HOME/korvane"
{ head -n 1 "$(dirname "$cli")/../share/korvane/opamps.csv"
  echo 'MYAMP,Me,1,bipolar,20000000,1000000,10,3,,1,,,,10,30,1,1,20,no,no,bench'
  echo 'tl072,Me,2,jfet,5000000,200000,13,18,,0.01,,,,10,30,1.5,1.5,40,no,no,faster'
  echo 'BAD,Me,1,bipolar,-1,1000000,10,3,,1,,,,10,30,1,1,20,no,no,negative gbw'
} >"$XDG_CONFIG_HOME/korvane/opamps.csv"
status=0; "$cli" opamps --names >"$work/names" 2>"$work/names.err" || status=$?
[[ $status == 0 ]] || fail "--names with a bad user row: exit $status"
grep -qx MYAMP "$work/names" || fail "the user's part is missing"
grep -q 'opamps.csv, line 4' "$work/names.err" || fail "no warning naming the bad row: $(cat "$work/names.err")"
! grep -qx BAD "$work/names" || fail "the bad row was loaded"
"$cli" opamps --format csv 2>/dev/null | grep -q '^tl072,Me,5e+06,' || fail "TL072 not overridden"
"$cli" response "${circuit[@]}" --opamp myamp --format json >/dev/null 2>&1 || fail "--opamp myamp"
rm -r "$XDG_CONFIG_HOME/korvane"

# Suitability: pass/fail per need, in each format.
"$cli" opamps "${circuit[@]}" --format json >"$work/opamps.json"
python3 - "$work/opamps.json" <<'PY'
import json, sys
parts = {p["name"]: p for p in json.load(open(sys.argv[1]))["parts"]}
needs = parts["NE5532"]["needs"]
assert list(needs) == ["gbw", "a0", "slew", "swing", "noise"], needs
assert all(n["verdict"] in ("pass", "fail", "unknown") for n in needs.values())
# 1 kHz, Q 5, H 2 on +-15 V with a 1 V input: the NE5532 is fast and wide enough, but its
# 0.7 pA/rtHz into R3 = 110k makes 77 nV/rtHz where R3's own thermal noise is 43 nV/rtHz
# (sqrt(4 k 298.15 K 110k)): the op-amp outdoes the resistors.
assert [n["verdict"] for n in needs.values()] == ["pass"] * 4 + ["fail"], needs
assert not parts["NE5532"]["suitable"]
# A blank figure is unknown, never passed: the OPA211 gives no A0.
assert parts["OPA211"]["needs"]["a0"]["verdict"] == "unknown" and not parts["OPA211"]["suitable"]
PY
"$cli" opamps "${circuit[@]}" --format csv | head -n 1 | grep -q ',gbw,a0,slew,swing,noise,suitable' ||
  fail "opamps CSV header"

# The deck of 'netlist --opamp' through ngspice's .noise agrees with 'korvane-cli noise': the
# output density within 0.1 dB at every swept frequency and the integral within 0.5 %, for a
# part with white noise (NE5532) and one with 1/f corners (OP27), at a temperature not 25 C.
if command -v ngspice >/dev/null; then
  for part in NE5532 OP27; do
    range=(--from 10 --to 100k --temperature 60)
    "$cli" netlist "${circuit[@]}" --opamp "$part" "${range[@]}" --points 50 >"$work/deck.cir"
    ngspice -b "$work/deck.cir" >"$work/ngspice.out" 2>&1 || fail "ngspice: $(tail "$work/ngspice.out")"
    "$cli" noise "${circuit[@]}" --opamp "$part" "${range[@]}" --points 200 --band-low 10 \
      --band-high 100k --format csv >"$work/density.csv"
    "$cli" noise "${circuit[@]}" --opamp "$part" "${range[@]}" --band-low 10 --band-high 100k \
      --format json >"$work/total.json"
    python3 - "$work/ngspice.out" "$work/density.csv" "$work/total.json" "$part" <<'PY'
import bisect, csv, json, math, re, sys
out, density, total, part = sys.argv[1:]
spectrum, integral, section = [], None, None
for line in open(out):
    if line.startswith("Index"):  # a table's heading names its columns
        names = line.split()[1:]
        section = ("spectrum" if names[:2] == ["frequency", "onoise_spectrum"] else
                   "total" if names[:1] == ["onoise_total"] else None)
    m = re.match(r"^\d+\s+([-+.\deE]+)\s+([-+.\deE]+)", line)
    if not m: continue
    if section == "spectrum": spectrum.append((float(m[1]), float(m[2])))
    elif section == "total": integral = float(m[1])
spectrum.sort()
freqs = [f for f, _ in spectrum]
worst = 0.0
for row in csv.DictReader(open(density, newline="")):
    f, ours = float(row["frequency_hz"]), float(row["total_v_rthz"])
    i = min(max(bisect.bisect_left(freqs, f), 1), len(freqs) - 1)
    (f0, v0), (f1, v1) = spectrum[i - 1], spectrum[i]
    t = (math.log(f) - math.log(f0)) / (math.log(f1) - math.log(f0))
    theirs = math.exp(math.log(v0) + t * (math.log(v1) - math.log(v0)))
    worst = max(worst, abs(20 * math.log10(ours / theirs)))
assert worst < 0.1, f"{part}: density off by {worst:.3f} dB"
rms = json.load(open(total))["output_rms_v"]
assert integral and abs(rms / integral - 1) < 0.005, f"{part}: {rms} against ngspice {integral}"
PY
  done
elif [[ ${CI:-} == true ]]; then
  fail "ngspice is not installed"
fi
echo "korvane-cli op-amps: all checks passed"
