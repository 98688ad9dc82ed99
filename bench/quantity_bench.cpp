// Reading and writing quantity texts: each runs once per result field of every command,
// so they must stay far below the commands' own budget.
#include <benchmark/benchmark.h>

#include <string_view>

#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"

namespace {

void BM_ParseQuantity(benchmark::State& state, std::u16string_view text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(calc::ParseQuantity(text));
  }
}
// What the fields hold: the start-up texts, typed values and texts the commands wrote.
BENCHMARK_CAPTURE(BM_ParseQuantity, typed_kilo, u"10k");
BENCHMARK_CAPTURE(BM_ParseQuantity, typed_decimal, u"1.0");
BENCHMARK_CAPTURE(BM_ParseQuantity, typed_grouped, u"1,000");
BENCHMARK_CAPTURE(BM_ParseQuantity, resistor_code, u"4k7");
BENCHMARK_CAPTURE(BM_ParseQuantity, shown_nano, u" 15.000n");
BENCHMARK_CAPTURE(BM_ParseQuantity, shown_milli, u"1000.000m");
BENCHMARK_CAPTURE(BM_ParseQuantity, exponent, u"1.2e-6");
BENCHMARK_CAPTURE(BM_ParseQuantity, full_width_prefix, u"2.2\u03BC");
BENCHMARK_CAPTURE(BM_ParseQuantity, seventeen_digits, u"1.5915494309189534e-08");
BENCHMARK_CAPTURE(BM_ParseQuantity, empty, u"");

void BM_ParseSeriesSize(benchmark::State& state, std::u16string_view text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(calc::ParseSeriesSize(text));
  }
}
BENCHMARK_CAPTURE(BM_ParseSeriesSize, listed, u"24");
BENCHMARK_CAPTURE(BM_ParseSeriesSize, infinity, u"\u221E");

void BM_FormatQuantity(benchmark::State& state, double value) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(calc::FormatQuantity(value, 8, 3));
  }
}
// The default design's results, and the edges of the number forms.
BENCHMARK_CAPTURE(BM_FormatQuantity, fo, 964.5754000288048);
BENCHMARK_CAPTURE(BM_FormatQuantity, q_below_one, 0.9999999999999999);
BENCHMARK_CAPTURE(BM_FormatQuantity, capacitor, 1.4999999999999492e-08);
BENCHMARK_CAPTURE(BM_FormatQuantity, resistor, 22000.0);
BENCHMARK_CAPTURE(BM_FormatQuantity, negative, -4700.0);
BENCHMARK_CAPTURE(BM_FormatQuantity, zero, 0.0);
BENCHMARK_CAPTURE(BM_FormatQuantity, far_below_pico, 1e-20);
BENCHMARK_CAPTURE(BM_FormatQuantity, exponent_form, 1e30);
BENCHMARK_CAPTURE(BM_FormatQuantity, huge, 1.7976931348623157e308);

}  // namespace
