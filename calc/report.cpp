// The report copies the fields' texts as they stand, blanks included; it formats no
// number, so it always says what the window shows.
#include "calc/report.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace calc {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

// One piece of a report line: a fixed text, or the current text of a field.
struct Piece {
  std::u16string_view fixed;
  bool is_field = false;
  Field field = Field::EditFo;
};

constexpr Piece Fixed(std::u16string_view text) { return {text, false, Field::EditFo}; }
constexpr Piece FieldOf(Field field) { return {{}, true, field}; }
constexpr Piece kEndOfLine = Fixed(kLineEnd);

// "Ω" is U+03A9 GREEK CAPITAL LETTER OMEGA, the only character outside ASCII here.
constexpr std::array kDesignLayout = {
    Fixed(u"2nd BPF\r\n"),
    Fixed(u"[Input data]\r\n"),
    Fixed(u"fo = "),
    FieldOf(Field::EditFo),
    Fixed(u"Hz   Q = "),
    FieldOf(Field::EditQ),
    kEndOfLine,
    Fixed(u"R1 = "),
    FieldOf(Field::EditR1),
    Fixed(u"\u03A9  R2 = "),
    FieldOf(Field::EditR2),
    Fixed(u"\u03A9  R3 = "),
    FieldOf(Field::EditR3),
    Fixed(u"\u03A9\r\n"),
    Fixed(u"C1 = "),
    FieldOf(Field::EditC1),
    Fixed(u"F   C2 = "),
    FieldOf(Field::EditC2),
    Fixed(u"F\r\n"),
    Fixed(u"\r\n"),
    Fixed(u"[Result data]\r\n"),
    Fixed(u"fo = "),
    FieldOf(Field::EditFor),
    Fixed(u"Hz   Q = "),
    FieldOf(Field::EditQr),
    Fixed(u"   H= "),
    FieldOf(Field::EditHr),
    kEndOfLine,
};

// The analysis has no targets to show, and one blank less before C2.
constexpr std::array kAnalysisLayout = {
    Fixed(u"2nd BPF\r\n"),
    Fixed(u"[Input data]\r\n"),
    Fixed(u"R1 = "),
    FieldOf(Field::EditR1),
    Fixed(u"\u03A9  R2 = "),
    FieldOf(Field::EditR2),
    Fixed(u"\u03A9  R3 = "),
    FieldOf(Field::EditR3),
    Fixed(u"\u03A9\r\n"),
    Fixed(u"C1 = "),
    FieldOf(Field::EditC1),
    Fixed(u"F  C2 = "),
    FieldOf(Field::EditC2),
    Fixed(u"F\r\n"),
    Fixed(u"\r\n"),
    Fixed(u"[Result data]\r\n"),
    Fixed(u"fo = "),
    FieldOf(Field::EditFor),
    Fixed(u"Hz   Q = "),
    FieldOf(Field::EditQr),
    Fixed(u"   H= "),
    FieldOf(Field::EditHr),
    kEndOfLine,
};

template <std::size_t N>
std::u16string Assemble(const Form& form, const std::array<Piece, N>& layout) {
  std::u16string report;
  report.reserve(256);
  for (const Piece& piece : layout) {
    if (piece.is_field) {
      report += form.Text(piece.field);
    } else {
      report += piece.fixed;
    }
  }
  return report;
}

}  // namespace

std::u16string BuildReport(const Form& form, const CalcState& state) {
  return state.DesignMode ? Assemble(form, kDesignLayout) : Assemble(form, kAnalysisLayout);
}

}  // namespace calc
