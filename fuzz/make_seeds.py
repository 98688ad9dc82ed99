#!/usr/bin/env python3
"""Writes the committed seed corpora in fuzz/corpus/ from the worked examples of the
quantity texts, the preferred-value series and the two commands, in the byte encodings
that fuzz/fuzz_input.h reads. Run it again after changing an example list; the fuzzing
itself never writes here (fuzz/run.sh keeps what it finds in the build folder)."""

import math
import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"

FIELD_BREAK = b"\xff"


def text(s):
    """A text in the fuzz encoding: ASCII as is, other code units escaped (0xFE lo hi)."""
    out = bytearray()
    encoded = s.encode("utf-16-le", "surrogatepass")
    for unit in struct.unpack(f"<{len(encoded) // 2}H", encoded):
        if unit < 0x80:
            out.append(unit)
        else:
            out += bytes([0xFE, unit & 0xFF, unit >> 8])
    return bytes(out)


def repeat_last(times_code):
    """Repeat the previous unit 4 ** (times_code + 1) times (0 <= times_code <= 7)."""
    return bytes([0xF0 + times_code])


def bits(value):
    """A double as its bit pattern (even mode byte)."""
    return b"\x00" + struct.pack("<d", value) + b"\x00"


def raw_bits(pattern):
    return b"\x00" + struct.pack("<Q", pattern) + b"\x00"


def decimal(mantissa, exponent, negative=False):
    """mantissa x 10^exponent in the decimal mode (odd mode byte)."""
    assert 0 <= mantissa < 10**18 and -340 <= exponent <= 343
    q, r = divmod(exponent + 340, 4)
    mode = 1 | (r << 1) | (0x80 if negative else 0)
    return bytes([mode]) + struct.pack("<Q", mantissa) + bytes([q])


SIZES = [0, 1, 2, 3, 6, 10, 12, 24, 25, 48, 96, 192, 384, 1000, -1, -3, -6, -24, -192,
         2**31 - 1, -(2**31)]


def size(n):
    if n in SIZES:
        return bytes([SIZES.index(n)])
    return b"\x80" + struct.pack("<i", n)


def write(target, seeds):
    folder = CORPUS / target
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    for name, data in seeds.items():
        (folder / name).write_bytes(data)


PARSE_TEXTS = {
    "decimal_kilo": "4.7k", "resistor_code": "4k7", "unit_after_prefix": "1kOhm",
    "mega_hertz": "1MHz", "plain_unit": "100Hz", "micro_farad": "10uF", "milli_henry": "2mH",
    "milli": "1m", "mega": "1M", "upper_pico": "1P", "upper_kilo": "1K", "upper_giga": "1G",
    "lower_giga": "1g", "upper_tera": "1T", "lower_tera": "1t", "upper_micro": "1U",
    "wide_kilo": "10\uff4b", "wide_upper_kilo": "10\uff2b", "greek_mu": "2.2\u03bc",
    "micro_sign": "10\u00b5", "wide_digits": "\uff11\uff10\uff4b", "nano": "22n",
    "grouped": "1,000", "spaced": "1 000 000", "padded": " 4.7 k ", "exponent_kilo": "1e3k",
    "exponent_mega": "5e-1M", "tab_prefix": "1.5\tk", "ideographic_space": "1.5\u3000k",
    "leading_ideographic_space": "\u30001", "empty": "", "blanks": "   ", "comma": ",",
    "letter": "k", "word": "abc", "plus": "+", "minus": "-", "point": ".", "bare_e": "1e",
    "trailing_e": "1.5e", "two_signs": "+-1", "two_points": "1.2.3", "trailing_word": "12abc",
    "too_large": "1e400", "exponent_limit": "1e1025", "power_limit": "0e632",
    "power_below_limit": "0e631", "scaled_overflow": "1e300T", "kilo_overflow": "1e308k",
    "underflow": "1e-400", "scaled_underflow": "1e-320p", "negative_zero": "-0",
    "exponent_zeros": "1e0003", "largest": "1.7976931348623157e308", "beyond_largest": "1.8e308",
    "nano_code": "2n2", "ohm_code": "4R7", "negative_code": "-4k7", "code_unit": "4k7Ohm",
    "decimal_then_digits": "4.7k3", "exponent_then_digits": "1e3k5", "shown_text": " 15.000n",
    "shown_exponent": "  1E018T", "shown_long": "1000.000k", "full_width_stop": "1\uff0e5",
    "unpaired_high": "1\ud800", "unpaired_low": "\udc001", "pair": "1\ud83d\ude00k",
    "nul_inside": "1\x002", "series_24": "24", "series_leading_space": " 24",
    "series_trailing_space": "24 ", "series_plus": "+24", "series_negative": "-3",
    "series_dollar": "$18", "series_x": "x18", "series_0x": "0x18", "series_infinity": "\u221e",
    "series_decimal": "24.0", "series_exponent": "1e2", "series_wide": "\uff12\uff14",
    "series_too_large": "2147483648", "series_largest": "2147483647",
    "series_smallest": "-2147483648", "series_hex_all_ones": "$FFFFFFFF",
    "series_hex_minimum": "-$80000000", "series_hex_zeros": "$000000018",
    "series_hex_nine_digits": "$100000000",
}


# The stage's settings as users type them, and the texts that slipped through before.
STAGE_TEXTS = {
    "gbw": "10M", "en": "18n", "current_noise_femto": "10f", "femto_unit": "2.5fA",
    "cin": "7pF", "temperature": "-40", "absolute_zero": "-273.15", "slew_negative": "-1",
    "unicode_minus": "\u22121", "amplitude_huge": "1e308", "empty": "", "blank": "\u3000",
    "exponent_then_f": "1e-3f", "text": "abc",
}


def parse_seeds():
    seeds = {name: text(s) for name, s in PARSE_TEXTS.items()}
    # Hostile sizes: 65536 commas before a digit, 4096 zeros after the point, a quarter of
    # a million ones, and a quantity and a series size in one input.
    seeds["many_commas"] = b"," + repeat_last(7) + b"1k"
    seeds["many_fraction_zeros"] = b"0.0" + repeat_last(5) + b"1"
    seeds["many_ones"] = b"1" + repeat_last(7) + b"\xfb"
    seeds["many_controls"] = b"\x01" + repeat_last(6) + b"5\x1f" + repeat_last(6)
    seeds["many_exponent_zeros"] = b"1e0" + repeat_last(6) + b"3"
    seeds["many_surrogates"] = text("\ud800") + repeat_last(6) + b"7"
    seeds["two_texts"] = text("4.7k") + FIELD_BREAK + text("$18")
    return seeds


FORMAT_VALUES = {
    "kilo": decimal(1591549, -3), "zero": bits(0.0), "negative_zero": bits(-0.0),
    "nano": decimal(22, -9), "hundred_nano": decimal(1, -7), "tera": decimal(1, 13),
    "half_pico": decimal(5, -13), "negative_kilo": decimal(4700, 0, True),
    "boundary_kilo": decimal(1000, 0), "three_decimals": decimal(123456789, -3),
    "half_up": decimal(10005, -4), "rounds_to_thousand": decimal(9999996, -4),
    "rounds_to_thousand_kilo": decimal(9999997, -1), "ten_thousand_tera": decimal(1, 16),
    "exponent_form": decimal(1, 30), "nan": raw_bits(0x7FF8000000000000),
    "below_pico": decimal(4, -16), "negative_below_pico": decimal(4, -16, True),
    "half_thousandth_pico": decimal(5, -16), "negative_half_thousandth_pico":
    decimal(5, -16, True), "far_below_pico": decimal(1, -20), "boundary_nano": decimal(1, -9),
    "boundary_tera": decimal(1, 12), "giga": decimal(9995, 8),
    "rounds_to_thousand_pico": decimal(9999996, -16),
    "negative_rounds_to_thousand": decimal(9999996, -4, True), "minus_one": decimal(1, 0, True),
    "exact_tie": decimal(10625, -4), "tie_tens": decimal(100005, -4),
    "below_tie": decimal(2777245, -4), "largest": bits(1.7976931348623157e308),
    "negative_largest": bits(-1.7976931348623157e308), "smallest_subnormal": raw_bits(1),
    "smallest_normal": bits(2.2250738585072014e-308), "exponent_boundary": decimal(1, 29),
    "below_exponent_boundary": decimal(99999999999999999, 12),
    "infinity": bits(math.inf), "negative_infinity": bits(-math.inf),
    "seventeen_digits": decimal(12345678901234567, 0),
    # FormatFixed with an outside caller's width and decimals (two int16 after the value).
    "fixed_plain": decimal(10625, -4) + struct.pack("<hh", 7, 3),
    "fixed_many_decimals": decimal(1, -300) + struct.pack("<hh", 0, 1000),
    "fixed_too_many_decimals": decimal(123, -2) + struct.pack("<hh", 5, 32767),
    "fixed_negative_decimals": decimal(16, -1, True) + struct.pack("<hh", 3, -5),
    "fixed_wide": decimal(1, 0) + struct.pack("<hh", 32767, 2),
    "fixed_negative_width": decimal(5, 17) + struct.pack("<hh", -32768, 0),
}

SNAP_CASES = {
    "zero": (bits(0.0), 24), "negative_zero": (bits(-0.0), 24), "no_series": (decimal(530516, -2), 0),
    "e24_below_mean": (decimal(530516, -2), 24), "e24_eleven": (decimal(1061033, -2), 24),
    "e24_above_mean": (decimal(2122066, -2), 24), "e24_nine_one": (decimal(95, -1), 24),
    "e24_ten": (decimal(96, -1), 24), "e6_six_eight": (decimal(8, 0), 6),
    "e1_one": (decimal(3, 0), 1), "e1_ten": (decimal(33, -1), 1),
    "negative": (decimal(5, 0, True), 6), "default_c2": (bits(1.5915494309189534e-08), 6),
    "tenth": (decimal(1, -1), 24), "thousand": (decimal(1000, 0), 24),
    "negative_size": (decimal(159, -2), -6), "negative_size_on_value": (decimal(15, -1), -6),
    "negative_e24": (decimal(1061033, -2), -24), "e192_replacement": (decimal(4586, -3), 192),
    "e192_other_replacement": (decimal(9195, -3), 192), "e48": (decimal(1695, -3), 48),
    "exact_decade": (decimal(1, -8), 24), "huge_size": (decimal(47, 2), 2**31 - 1),
    "smallest_size": (decimal(47, 2), -(2**31)), "largest_value": (bits(1.7976931348623157e308), 3),
    "subnormal": (raw_bits(3), 6), "e1000": (decimal(2345, -3), 1000),
    "nan": (raw_bits(0x7FF8000000000000), 24), "infinity": (bits(math.inf), 24),
    "odd_size": (decimal(77, 3), 7),
}

DEFAULTS = ["1k", "1.0", "1.0", "10k", "24", "6"]
ANALYSIS, DESIGN, ANALYSIS_THEN_DESIGN, DESIGN_THEN_ANALYSIS = 0, 4, 8, 12
LOCK, OUTPUT_ENABLED = 1, 2


def form(flags, fields):
    """fields: texts in the order of calc::Field (EditFo ... EditHr); missing ones keep the
    start-up texts in the fuzzer, except EditFo, which the first text always sets."""
    return bytes([flags]) + FIELD_BREAK.join(text(f) for f in fields)


def design(flags=0, fo="1k", q="1.0", h="1.0", stdr="10k", er="24", ec="6", c2=None):
    fields = [fo, q, h, stdr, er, ec]
    if c2 is not None:
        fields += ["", "", "", "", c2]
    return form(DESIGN | flags, fields)


def analysis(r1, r2, r3, c1, c2, flags=0):
    return form(ANALYSIS | flags, DEFAULTS + [r1, r2, r3, c1, c2])


def command_seeds():
    return {
        "design_defaults": design(),
        "design_defaults_then_analysis": form(DESIGN_THEN_ANALYSIS, DEFAULTS),
        "design_empty_h": design(h=""),
        "design_empty_fo_and_h": design(fo="", h=""),
        "design_unsnapped": design(er="\u221e", ec="\u221e"),
        "design_resistors_not_integer": design(er="E24"),
        "design_high_gain": design(h="4"),
        "design_q2_h10": design(q="2", h="10"),
        "design_h_equals_2q2": design(h="2"),
        "design_locked_c2": design(LOCK, c2="10n"),
        "design_locked_c2_off_series": design(LOCK, c2="12n"),
        "design_locked_empty_c2": design(LOCK, c2=""),
        "design_locked_zero_stdr": design(LOCK, stdr="0", c2="10n"),
        "design_zero_stdr": design(OUTPUT_ENABLED, stdr="0"),
        "design_empty_stdr": design(stdr=""),
        "design_zero_fo": design(fo="0"),
        "design_negative_q": design(q="-1"),
        "design_zero_h": design(OUTPUT_ENABLED, h="0"),
        "design_negative_h": design(OUTPUT_ENABLED, h="-1"),
        "design_negative_stdr": design(stdr="-10k"),
        "design_ten_kilohertz": design(fo="10k", q="5", h="2"),
        "design_e12_e3": design(er="12", ec="3"),
        "design_locked_zero_c2": design(LOCK | OUTPUT_ENABLED, c2="0"),
        "design_huge_size": design(er="2147483647", ec="-2147483648"),
        "analysis_unity": analysis("10k", "10k", "20k", "15.915n", "15.915n"),
        "analysis_default_design": analysis("11k", "11k", "22k", "15n", "15n"),
        "analysis_without_r2": analysis("5.1k", "", "22k", "15n", "15n"),
        "analysis_high_gain": analysis("8.2k", "180k", "43k", "4.7n", "15n"),
        "analysis_unreadable_r2": analysis("10k", "abc", "20k", "10n", "10n"),
        "analysis_equal_parts": analysis("1k", "1k", "1k", "1u", "1u"),
        "analysis_negative_r1": analysis("-10k", "1k", "20k", "10n", "10n"),
        "analysis_empty_c1": analysis("10k", "10k", "20k", "", "10n", OUTPUT_ENABLED),
        "analysis_zero_r1": analysis("0", "10k", "20k", "10n", "10n", OUTPUT_ENABLED),
        "analysis_negative_r1_without_r2": analysis("-10k", "", "20k", "10n", "10n"),
        "analysis_opposite_capacitors": analysis("10k", "10k", "20k", "10n", "-10n"),
        "analysis_then_design": form(ANALYSIS_THEN_DESIGN,
                                     DEFAULTS + ["11k", "11k", "22k", "15n", "15n"]),
        "analysis_overflow": analysis("1e-300", "1e-300", "1e300", "1e300", "1e-300"),
        "analysis_subnormal_r1": analysis("1e-310", "10k", "20k", "10n", "10n"),
        "analysis_huge": analysis("1e200", "1e200", "1e200", "1e-200", "1e-200"),
        "design_tiny_fo": design(fo="1e-300"),
        "design_subnormal_stdr": design(stdr="1e-310"),
        "design_huge_q": design(q="1e200", h="1e300"),
        "design_tiny_locked_c2": design(LOCK, c2="1e-320"),
    }


SEARCH_SERIES = [0, 3, 6, 12, 24, 48, 96, 192, 7, -6, 1000, 1]
SEARCH_STEPS = [0, 1, 2, 7]
SEARCH_TOPS = [1, 10, 3, 1001]


def search(fo=10e3, q=8, h=4, zref=10e3, er=24, ec=6, steps=2, top=10, c2=None,
           allow=(0.01, 0.03, 0.03), op_amp=None, tolerances=None, trials=20, seed=1,
           by_yield=False):
    """The joint search's inputs in the order preferred_value_search_fuzz reads them."""
    flags = (op_amp is not None) | (c2 is not None) << 1 | (tolerances is not None) << 2
    flags |= by_yield << 3 | SEARCH_STEPS.index(steps) << 4 | SEARCH_TOPS.index(top) << 6
    out = bytes([flags, SEARCH_SERIES.index(er) | SEARCH_SERIES.index(ec) << 4])
    out += b"".join(bits(v) for v in (fo, q, h, zref))
    if c2 is not None:
        out += bits(c2)
    out += b"".join(bits(v) for v in allow)
    if op_amp is not None:
        out += b"".join(bits(v) for v in op_amp)
    if tolerances is not None:
        out += bits(tolerances[0]) + bits(tolerances[1]) + bytes([trials, seed])
    return out


def search_seeds():
    return {
        "example_ideal": search(),
        "example_10mhz": search(op_amp=(1e5, 10e6, 0)),
        "example_1mhz_cin": search(op_amp=(1e5, 1e6, 5e-12)),
        "locked_c2_e192": search(er=192, ec=24, c2=4.7e-9, steps=1, op_amp=(2e5, 20e6, 0)),
        "gain_without_r2": search(fo=1e3, q=1, h=10, er=6, ec=6),
        "unsnapped": search(er=0, ec=0, op_amp=(1e5, 10e6, 0)),
        "yield_by_yield": search(tolerances=(0.01, 0.05), by_yield=True, op_amp=(1e5, 20e6, 0)),
        "yield_ideal": search(tolerances=(0.01, 0.05), top=3),
        "no_steps": search(steps=0, top=1),
        "too_slow_for_any_pair": search(op_amp=(1e5, 2e3, 0)),
        "low_gain": search(op_amp=(2, 10e6, 0)),
        "steps_seven": search(steps=7),
        "top_1001": search(top=1001),
        "series_e7": search(er=7),
        "series_reversed": search(ec=-6),
        "zero_allowance": search(allow=(0.0, 0.03, 0.03)),
        "negative_allowance": search(allow=(0.01, 0.03, -0.03)),
        "zero_fo": search(fo=0.0),
        "nan_q": search(q=math.nan),
        "infinite_h": search(h=math.inf),
        "overflowing_fo": search(fo=1e308),
        "tiny_fo": search(fo=1e-300),
        "zero_gbw": search(op_amp=(1e5, 0.0, 0)),
        "negative_cin": search(op_amp=(1e5, 1e6, -1e-12)),
        "tiny_gbw": search(op_amp=(1e5, 1e-300, 0)),
        "huge_gbw": search(op_amp=(1e300, 1e300, 0)),
        "whole_tolerance": search(tolerances=(1.0, 0.05)),
        "no_trials": search(tolerances=(0.01, 0.05), trials=0),
        "high_q": search(fo=100e3, q=1000, h=1, zref=1e3, er=192, ec=24, steps=1,
                         op_amp=(1e6, 1e9, 0)),
    }


def main():
    write("parse_quantity_fuzz", parse_seeds())
    write("format_quantity_fuzz", FORMAT_VALUES)
    write("snap_to_series_fuzz", {name: value + size(n) for name, (value, n) in SNAP_CASES.items()})
    write("commands_fuzz", command_seeds())
    write("preferred_value_search_fuzz", search_seeds())
    write("stage_settings_fuzz", {name: text(s) for name, s in STAGE_TEXTS.items()})


if __name__ == "__main__":
    main()
