// Fuzzes the joint search of preferred values over arbitrary targets, series, allowances,
// op-amps and yield settings. It returns a value or a diagnostic and never throws; a
// result lists distinct usable sets in order, the first never worse than the design
// command's own, with the texts the window writes and yields that are proportions.
// The search width stays at most 2 (and 7, refused) so that an input takes milliseconds.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string>

#include "calc/studies/preferred_value_search.h"
#include "calc/text/quantity_format.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz_support::Describe;
using fuzz_support::Fail;
using fuzz_support::Require;

constexpr std::int32_t kSeries[] = {0, 3, 6, 12, 24, 48, 96, 192, 7, -6, 1000, 1};
constexpr int kSteps[] = {0, 1, 2, 7};
constexpr int kTops[] = {1, 10, 3, 1001};

// Reads the inputs in order from a cursor over the bytes; missing bytes read as zero.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  double Double() {
    std::size_t used = 0;
    const double value = fuzz_support::DecodeDouble(data_ + at_, size_ - at_, used);
    at_ += used;
    return value;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_, at_ = 0;
};

bool SameParts(const calc::Circuit& a, const calc::Circuit& b) {
  const calc::PartValues x = calc::PartsOf(a), y = calc::PartsOf(b);
  for (int i = 0; i < calc::kPartCount; ++i) {
    if (!(x[i] == y[i] || (std::isnan(x[i]) && std::isnan(y[i])))) return false;
  }
  return true;
}

}  // namespace

// Bytes: flags (op-amp, locked C2, yield, rank by yield, two bits of k, two of N), the
// series (low nibble R, high nibble C), then fo, Q, H, Zref, the locked C2, the three
// allowances, A0, GBW, Cin, and the yield's resistor and capacitor tolerances, trial
// count (a byte) and seed (a byte), each present only where its flag asks for it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::uint8_t series = in.Byte();
  calc::PreferredValueSearchSettings settings;
  settings.threads = 1;
  settings.steps = kSteps[(flags >> 4) & 3];
  settings.top = kTops[(flags >> 6) & 3];
  settings.design.SeriesR = kSeries[(series & 15) % std::size(kSeries)];
  settings.design.SeriesC = kSeries[(series >> 4) % std::size(kSeries)];
  settings.design.Fo = in.Double();
  settings.design.Q = in.Double();
  settings.design.H = in.Double();
  settings.design.Zref = in.Double();
  if (flags & 2) settings.design.LockedC2 = in.Double();
  settings.allowances = {in.Double(), in.Double(), in.Double()};
  if (flags & 1) settings.op_amp = calc::OpAmp{in.Double(), in.Double(), in.Double()};
  if (flags & 4) {
    calc::ToleranceSettings tolerance;
    const double resistor = in.Double(), capacitor = in.Double();
    tolerance.tolerances = {resistor, resistor, resistor, capacitor, capacitor};
    tolerance.distribution =
        (flags & 8) ? calc::Distribution::kNormal : calc::Distribution::kUniform;
    tolerance.trials = in.Byte() % 65;
    tolerance.seed = in.Byte();
    settings.yield = tolerance;
    if (flags & 8) settings.ranking = calc::Ranking::kYield;
  }
  const auto context = [&] {
    std::string text =
        "fo " + Describe(settings.design.Fo) + ", Q " + Describe(settings.design.Q) + ", H " +
        Describe(settings.design.H) + ", Zref " + Describe(settings.design.Zref) + ", E" +
        std::to_string(settings.design.SeriesR) + "/E" + std::to_string(settings.design.SeriesC) +
        ", k " + std::to_string(settings.steps);
    if (settings.op_amp) {
      text += ", A0 " + Describe(settings.op_amp->A0) + ", GBW " + Describe(settings.op_amp->Gbw);
    }
    return text;
  };

  std::optional<calc::Outcome<calc::PreferredValueSearch>> outcome;
  try {
    outcome.emplace(calc::SearchPreferredValues(settings));
  } catch (const std::exception& error) {
    Fail("the search returns a value or a diagnostic and never throws",
         context() + ": " + error.what());
  } catch (...) {
    Fail("the search returns a value or a diagnostic and never throws", context());
  }
  if (!*outcome) {
    Require(outcome->diagnostic().problem != calc::Problem::kCancelled,
            "only a progress callback cancels", context);
    return 0;
  }
  const calc::PreferredValueSearch& search = **outcome;
  Require(search.sets.size() <= static_cast<std::size_t>(settings.top), "at most N sets", context);
  Require(static_cast<std::int64_t>(search.sets.size()) <= search.searched &&
              search.measured <= search.searched,
          "no more sets ranked or measured than searched", context);
  for (std::size_t i = 0; i < search.sets.size(); ++i) {
    const calc::ScoredSet& set = search.sets[i];
    Require(!std::isnan(set.score), "every ranked set has a score", context);
    if (settings.ranking == calc::Ranking::kScore && i > 0) {
      Require(search.sets[i - 1].score <= set.score, "sets in the order of their scores", context);
    }
    for (std::size_t j = 0; j < i; ++j) {
      Require(!SameParts(search.sets[j].parts, set.parts), "every set listed once", context);
    }
    const calc::PartValues parts = calc::PartsOf(set.parts);
    for (int part = 0; part < calc::kPartCount; ++part) {
      Require(set.texts[part] == calc::FormatDisplayed(parts[part]),
              "texts as the window writes them", context);
    }
    Require(set.yield.has_value() == settings.yield.has_value(), "a yield exactly where asked",
            context);
    if (set.yield) {
      const calc::Proportion& y = *set.yield;
      Require(y.trials == settings.yield->trials && 0 <= y.low && y.low <= y.fraction &&
                  y.fraction <= y.high && y.high <= 1,
              "a yield is a proportion inside its interval", context);
    }
  }
  if (!std::isnan(search.reference.score)) {
    Require(!search.sets.empty(), "the design command's set is always among those ranked", context);
    const double best = std::min_element(search.sets.begin(), search.sets.end(),
                                         [](const calc::ScoredSet& a, const calc::ScoredSet& b) {
                                           return a.score < b.score;
                                         })
                            ->score;
    Require(best <= search.reference.score, "never worse than the design command's set", context);
  }
  return 0;
}
