// The value a shown text stands for: what a field holds once a value's text is written
// into it and read back, as the main window's commands read it.
#ifndef KORVANE_CALC_TEXT_DISPLAYED_VALUE_H
#define KORVANE_CALC_TEXT_DISPLAYED_VALUE_H

namespace calc {

// ParseQuantity(FormatDisplayed(value)): a part as the designer can type it. The series'
// own values carry a few units in the last place (1.5 nF comes out of the series as
// 1.4999999999999492e-09); the text holds the part's marked value, which is what a board
// is built with and what the analysis command computes with. No value stays no value.
// DisplayedValue(1.4999999999999492e-09) -> 1.5e-09; DisplayedValue(10610.32953945969) ->
// 10610; DisplayedValue(4.7e-16) -> 0 (the text is "  0.000p").
double DisplayedValue(double value);

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_DISPLAYED_VALUE_H
