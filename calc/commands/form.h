// The window as the commands see it: named field texts, the Lock tick, the output
// buttons and the warning box. The Qt window implements it over its widgets; tests
// implement it in memory, so every command runs headless.
#ifndef KORVANE_CALC_COMMANDS_FORM_H
#define KORVANE_CALC_COMMANDS_FORM_H

#include <string>
#include <string_view>

namespace calc {

enum class Field {
  EditFo,
  EditQ,
  EditH,
  EditStdR,
  ComboBoxER,
  ComboBoxEC,
  EditR1,
  EditR2,
  EditR3,
  EditC1,
  EditC2,
  EditFor,
  EditQr,
  EditHr
};
inline constexpr int kFieldCount = 14;

class Form {
 public:
  virtual ~Form() = default;
  virtual std::u16string Text(Field field) const = 0;
  virtual void SetText(Field field, std::u16string_view text) = 0;
  virtual bool LockChecked() const = 0;                    // CheckBoxLock
  virtual void SetOutputEnabled(bool enabled) = 0;         // ButtonPrint and ButtonCopy
  virtual void ShowWarning(std::u16string_view text) = 0;  // modal; returns when dismissed
};

// The value typed in `field`, read by ParseQuantity: NaN when it holds no number.
double ParseField(const Form& form, Field field);

}  // namespace calc

#endif  // KORVANE_CALC_COMMANDS_FORM_H
