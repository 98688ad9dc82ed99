// Fuzzes the two commands over an in-memory window: arbitrary texts in all fourteen fields,
// the Lock tick and the output buttons' earlier state, and one command or two in a row
// (the second sees what the first wrote). Every run must end in exactly one way: results
// shown, one warning, or a FloatError; and the fields, flags and buttons afterwards must be
// the ones that ending promises. Which warning comes, and whether the choice of C2 can
// fail, is worked out here from the texts alone.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "calc/circuit/preferred_values.h"
#include "calc/commands/analysis_command.h"
#include "calc/commands/calc_state.h"
#include "calc/commands/design_command.h"
#include "calc/commands/form.h"
#include "calc/numeric/float_ops.h"
#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"
#include "fuzz/fuzz_input.h"
#include "tests/support/memory_form.h"

namespace {

using calc::Field;
using fuzz_support::Fail;
using fuzz_support::Printable;
using testing_support::MemoryForm;
using Event = MemoryForm::Event;

constexpr std::u16string_view kMissingComponents = u"R1,R2,R3,C1,C2,C3 に値をセットしてください";
constexpr std::u16string_view kMissingFo = u"foに値を入力してください";
constexpr std::u16string_view kMissingQ = u"Qに値を入力してください";
constexpr std::u16string_view kNotPositive = u"ゼロ以下の伝達関数パラメータは不正です";
constexpr std::u16string_view kMissingStdR = u"標準Zに値を入力してください";
constexpr std::u16string_view kQError =
    u"Q値の誤差が大きい\r\nHまたはC2の値を微調整すると改善できます";

constexpr Field kAnalysisResults[] = {Field::EditFor, Field::EditQr, Field::EditHr};
constexpr Field kDesignResults[] = {Field::EditFor, Field::EditQr, Field::EditHr, Field::EditC1,
                                    Field::EditC2,  Field::EditR1, Field::EditR2, Field::EditR3};

struct Snapshot {
  std::u16string texts[calc::kFieldCount];
  bool output_enabled;
  const std::u16string& operator[](Field field) const { return texts[static_cast<int>(field)]; }
};

Snapshot Take(const MemoryForm& form) {
  Snapshot snapshot;
  for (int i = 0; i < calc::kFieldCount; ++i) snapshot.texts[i] = form.Text(static_cast<Field>(i));
  snapshot.output_enabled = form.output_enabled();
  return snapshot;
}

bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

bool Contains(const Field* begin, const Field* end, Field field) {
  for (const Field* f = begin; f != end; ++f) {
    if (*f == field) return true;
  }
  return false;
}

// Everything a failure message needs to replay the run by hand.
struct Run {
  const MemoryForm& form;
  const Snapshot& before;
  const char* command;

  std::string Context() const {
    std::string text = std::string(command) + (form.LockChecked() ? " (Lock ticked)" : "") +
                       (before.output_enabled ? " (output enabled before)" : "");
    for (int i = 0; i < calc::kFieldCount; ++i) {
      text += "\n  field " + std::to_string(i) + ": " + Printable(before.texts[i]) + " -> " +
              Printable(form.Text(static_cast<Field>(i)));
    }
    text += "\n  events:";
    for (const Event& event : form.events()) {
      switch (event.kind) {
        case Event::Kind::kSetText:
          text += " set(" + std::to_string(static_cast<int>(event.field)) + "," +
                  Printable(event.text) + ")";
          break;
        case Event::Kind::kWarning:
          text += " warn(" + Printable(event.text) + ")";
          break;
        case Event::Kind::kOutputEnabled:
          text += event.enabled ? " enable" : " disable";
          break;
      }
    }
    return text;
  }

  void Check(bool ok, const char* what) const {
    if (!ok) Fail(what, Context());
  }

  std::vector<const Event*> Of(Event::Kind kind) const {
    std::vector<const Event*> found;
    for (const Event& event : form.events()) {
      if (event.kind == kind) found.push_back(&event);
    }
    return found;
  }

  // The ending's warning and button step: `warning` (or none) and, unless the run ended
  // in a FloatError, one button step, last, that matches `enabled`.
  void CheckEnding(std::u16string_view warning, bool float_error, bool enabled) const {
    const auto warnings = Of(Event::Kind::kWarning);
    if (warning.empty()) {
      Check(warnings.empty(), "no warning");
    } else {
      Check(warnings.size() == 1 && warnings[0]->text == warning, "exactly the one warning due");
    }
    const auto steps = Of(Event::Kind::kOutputEnabled);
    if (float_error) {
      Check(steps.empty() && form.output_enabled() == before.output_enabled,
            "after a FloatError the output buttons are untouched");
    } else {
      Check(steps.size() == 1 && &form.events().back() == steps[0],
            "the output buttons are set once, as the last step");
      Check(form.output_enabled() == enabled, "the output buttons follow Calculated");
    }
  }

  void CheckWrites(const Field* begin, const Field* end, const char* what) const {
    for (const Event& event : form.events()) {
      if (event.kind == Event::Kind::kSetText) {
        Check(Contains(begin, end, event.field), what);
      }
    }
    for (int i = 0; i < calc::kFieldCount; ++i) {
      const Field field = static_cast<Field>(i);
      if (!Contains(begin, end, field)) Check(form.Text(field) == before[field], what);
    }
  }
};

// Every value in CalcState comes from a parsed text (a number or NaN) or from a checked
// operation, which raises rather than produce an infinity or NaN; so CalcState never holds
// an infinity, and a result is a number unless the command stopped before writing it.
void CheckStateValues(const Run& run, const calc::CalcState& before, const calc::CalcState& after) {
  const double values[] = {after.Fo,       after.Q,       after.H,      after.R1,
                           after.R2,       after.R3,      after.C1,     after.C2,
                           after.FoResult, after.QResult, after.HResult};
  for (double value : values) run.Check(!std::isinf(value), "CalcState never holds an infinity");
  const double results[][2] = {{before.FoResult, after.FoResult},
                               {before.QResult, after.QResult},
                               {before.HResult, after.HResult}};
  for (const auto& result : results) {
    run.Check(SameDouble(result[0], result[1]) || std::isfinite(result[1]),
              "a result is a number, or left as it was");
  }
}

double Parse(const Snapshot& snapshot, Field field) { return calc::ParseQuantity(snapshot[field]); }

void RunAnalysis(MemoryForm& form, calc::CalcState& state) {
  const Snapshot before = Take(form);
  form.ClearEvents();
  const Run run{form, before, "ButtonTFClick"};
  const calc::CalcState state_before = state;
  bool float_error = false;
  try {
    calc::ButtonTFClick(form, state);
  } catch (const calc::FloatError&) {
    float_error = true;
  } catch (const std::exception& error) {
    Fail("a command throws FloatError and nothing else", run.Context() + "\n" + error.what());
  }
  CheckStateValues(run, state_before, state);

  run.Check(!state.DesignMode, "the analysis leaves DesignMode false");
  run.CheckWrites(std::begin(kAnalysisResults), std::end(kAnalysisResults),
                  "the analysis writes its three result fields and nothing else");
  const auto& events = form.events();
  run.Check(events.size() >= 3, "the result fields are blanked first");
  for (int i = 0; i < 3; ++i) {
    run.Check(events[i].kind == Event::Kind::kSetText && events[i].field == kAnalysisResults[i] &&
                  events[i].text.empty(),
              "the result fields are blanked first");
  }
  const double parsed[] = {Parse(before, Field::EditR1), Parse(before, Field::EditR2),
                           Parse(before, Field::EditR3), Parse(before, Field::EditC1),
                           Parse(before, Field::EditC2)};
  const double stored[] = {state.R1, state.R2, state.R3, state.C1, state.C2};
  for (int i = 0; i < 5; ++i) {
    run.Check(SameDouble(parsed[i], stored[i]), "the parsed components are kept in CalcState");
  }
  const bool missing =
      std::isnan(state.R1) || std::isnan(state.C1) || std::isnan(state.C2) || std::isnan(state.R3);

  if (float_error || missing) {
    run.Check(!(float_error && missing), "a missing component is warned about, not computed");
    run.Check(!state.Calculated, "no results: Calculated is false");
    for (Field field : kAnalysisResults) run.Check(form.Text(field).empty(), "no results shown");
    run.CheckEnding(missing ? kMissingComponents : u"", float_error, false);
    return;
  }
  run.Check(state.Calculated, "results shown: Calculated is true");
  const double results[] = {state.FoResult, state.QResult, state.HResult};
  for (int i = 0; i < 3; ++i) {
    run.Check(std::isfinite(results[i]), "shown results are numbers");
    run.Check(form.Text(kAnalysisResults[i]) == calc::FormatQuantity(results[i], 8, 3),
              "the result fields show the results");
  }
  run.CheckEnding(u"", false, true);
}

// Whether choosing C2 from the reference impedance raises a FloatError.
bool ChoosingC2Fails(double fo, double zref, std::int32_t series_c) {
  try {
    calc::SnapToSeries(calc::Div(1, calc::Mul(calc::Mul(fo, 6.283185307179586), zref)), series_c);
    return false;
  } catch (const calc::FloatError&) {
    return true;
  }
}

void RunDesign(MemoryForm& form, calc::CalcState& state) {
  const Snapshot before = Take(form);
  form.ClearEvents();
  const Run run{form, before, "ButtonCalcClick"};
  const calc::CalcState state_before = state;
  bool float_error = false;
  try {
    calc::ButtonCalcClick(form, state);
  } catch (const calc::FloatError&) {
    float_error = true;
  } catch (const std::exception& error) {
    Fail("a command throws FloatError and nothing else", run.Context() + "\n" + error.what());
  }
  CheckStateValues(run, state_before, state);

  const double fo = Parse(before, Field::EditFo);
  const double q = Parse(before, Field::EditQ);
  const double h = Parse(before, Field::EditH);
  const bool h_missing = std::isnan(h);
  const bool lock = form.LockChecked();

  run.Check(state.DesignMode, "the design leaves DesignMode true");
  run.Check(SameDouble(state.Fo, fo) && SameDouble(state.Q, q) &&
                SameDouble(state.H, h_missing ? 1.0 : h),
            "the targets are kept in CalcState, H defaulting to 1");
  run.Check(form.Text(Field::EditH) == (h_missing ? u"1.0" : before[Field::EditH]),
            "EditH becomes \"1.0\" exactly when it holds no value");

  // The events expected before anything else: EditH's default, then (past the target
  // checks) the blanking of the result fields.
  std::vector<Field> leading_blanks;
  const auto& events = form.events();
  std::size_t next = 0;
  if (h_missing) {
    run.Check(!events.empty() && events[0].kind == Event::Kind::kSetText &&
                  events[0].field == Field::EditH && events[0].text == u"1.0",
              "EditH is defaulted before any check");
    next = 1;
  }

  std::u16string_view target_warning;
  if (std::isnan(fo)) {
    target_warning = kMissingFo;
  } else if (std::isnan(q)) {
    target_warning = kMissingQ;
  } else if (fo <= 0 || q <= 0) {
    target_warning = kNotPositive;
  }
  if (!target_warning.empty()) {
    run.Check(!float_error, "a target warning computes nothing");
    run.Check(!state.Calculated, "after a warning Calculated is false");
    const Field edith[] = {Field::EditH};
    run.CheckWrites(std::begin(edith), std::end(edith),
                    "a target warning leaves earlier results in place");
    run.CheckEnding(target_warning, false, false);
    return;
  }

  // Past the target checks the result fields are blanked, in order, EditC2 only when the
  // Lock is not ticked.
  for (Field field : kDesignResults) {
    if (field == Field::EditC2 && lock) continue;
    run.Check(next < events.size() && events[next].kind == Event::Kind::kSetText &&
                  events[next].field == field && events[next].text.empty(),
              "the result fields are blanked, in order, before the design runs");
    ++next;
  }
  Field writable[9] = {Field::EditH};
  std::copy(std::begin(kDesignResults), std::end(kDesignResults), writable + 1);
  run.CheckWrites(std::begin(writable), std::end(writable),
                  "the design writes EditH's default and its eight results, nothing else");

  const auto check_results_blank = [&](const char* what) {
    for (Field field : kDesignResults) {
      const std::u16string& expected =
          (field == Field::EditC2 && lock) ? before[Field::EditC2] : std::u16string();
      run.Check(form.Text(field) == expected, what);
    }
  };

  const double zref = Parse(before, Field::EditStdR);
  if (std::isnan(zref)) {
    run.Check(!float_error, "a missing reference impedance computes nothing");
    run.Check(!state.Calculated, "after a warning Calculated is false");
    check_results_blank("after the reference-impedance warning the results are blank");
    run.CheckEnding(kMissingStdR, false, false);
    return;
  }

  const std::int32_t series_r = calc::ParseSeriesSize(before[Field::ComboBoxER]);
  const std::int32_t series_c = calc::ParseSeriesSize(before[Field::ComboBoxEC]);
  run.Check(state.SeriesR == series_r && state.SeriesC == series_c,
            "the series sizes are read from the drop-downs");
  const double typed_c2 = Parse(before, Field::EditC2);
  const bool c2_computed = !lock || std::isnan(typed_c2);
  const bool c2_fails = c2_computed && ChoosingC2Fails(fo, zref, series_c);

  if (float_error) {
    run.Check(state.Calculated == !c2_fails,
              "Calculated is false after a fault in choosing C2, true after one in the design");
    check_results_blank("after a FloatError the results are blank");
    run.CheckEnding(u"", true, false);
    return;
  }
  run.Check(!c2_fails, "a fault in choosing C2 raises a FloatError");
  run.Check(state.Calculated, "results shown: Calculated is true");
  if (!c2_computed) run.Check(SameDouble(state.C2, typed_c2), "a locked C2 is used as typed");

  const double shown[] = {state.FoResult, state.QResult, state.HResult, state.C1,
                          state.C2,       state.R1,      state.R2,      state.R3};
  for (int i = 0; i < 8; ++i) {
    if (kDesignResults[i] != Field::EditR2) {
      run.Check(std::isfinite(shown[i]), "shown results are numbers");
    }
    run.Check(form.Text(kDesignResults[i]) == calc::FormatQuantity(shown[i], 8, 3),
              "the result fields show the results");
  }
  // The eight results are written last, after any Q-error warning, in display order.
  run.Check(events.size() >= 9, "the eight results are written last");
  for (int i = 0; i < 8; ++i) {
    const Event& event = events[events.size() - 9 + static_cast<std::size_t>(i)];
    run.Check(event.kind == Event::Kind::kSetText && event.field == kDesignResults[i],
              "the eight results are written last, in display order");
  }
  const bool q_error = std::fabs(q - state.QResult) / q > 0.03;
  run.CheckEnding(q_error ? kQError : u"", false, true);
}

}  // namespace

// Byte 0: bit 0 ticks Lock, bit 1 enables the output buttons beforehand, bits 2-3 pick the
// commands (analysis; design; analysis then design; design then analysis). The rest are
// the field texts in the order of calc::Field; fields without a text keep the start-up
// texts.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  MemoryForm form;
  form.SetLock((flags & 1) != 0);
  form.SetOutputState((flags & 2) != 0);
  const std::vector<std::u16string> texts =
      fuzz_support::DecodeTexts(data + 1, size - 1, calc::kFieldCount, std::size_t{1} << 16);
  for (std::size_t i = 0; i < texts.size(); ++i) form.Set(static_cast<Field>(i), texts[i]);

  calc::CalcState state;
  switch ((flags >> 2) & 3) {
    case 0:
      RunAnalysis(form, state);
      break;
    case 1:
      RunDesign(form, state);
      break;
    case 2:
      RunAnalysis(form, state);
      RunDesign(form, state);
      break;
    default:
      RunDesign(form, state);
      RunAnalysis(form, state);
      break;
  }
  return 0;
}
