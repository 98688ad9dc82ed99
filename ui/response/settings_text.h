// The response window's own texts of its figures. Its settings are read by the core's
// rules (calc/studies/setting_texts.h, calc/studies/response_study.h), as korvane-cli
// reads them.
#ifndef KORVANE_UI_RESPONSE_SETTINGS_TEXT_H
#define KORVANE_UI_RESPONSE_SETTINGS_TEXT_H

#include <string>

namespace ui {

// The relative error of `value` against `reference` in percent, three decimals, with the
// sign: PercentError(101, 100) -> "+1.000 %"; empty when either has no value or the
// reference is zero.
std::u16string PercentError(double value, double reference);

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_SETTINGS_TEXT_H
