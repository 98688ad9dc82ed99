// An in-memory calc::Form for headless tests, fuzzing and benchmarks. It starts with the
// main window's start-up texts and records every field write, warning and button change
// in order, so a test can check what the user would have seen, and when.
#ifndef KORVANE_TESTS_SUPPORT_MEMORY_FORM_H
#define KORVANE_TESTS_SUPPORT_MEMORY_FORM_H

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/form.h"

namespace testing_support {

class MemoryForm : public calc::Form {
 public:
  struct Event {
    enum class Kind { kSetText, kWarning, kOutputEnabled } kind;
    calc::Field field = calc::Field::EditFo;  // kSetText
    std::u16string text;                      // kSetText, kWarning
    bool enabled = false;                     // kOutputEnabled
  };

  MemoryForm() {
    Set(calc::Field::EditFo, u"1k");
    Set(calc::Field::EditQ, u"1.0");
    Set(calc::Field::EditH, u"1.0");
    Set(calc::Field::EditStdR, u"10k");
    Set(calc::Field::ComboBoxER, u"24");
    Set(calc::Field::ComboBoxEC, u"6");
  }

  // Test set-up: changes a text without recording an event.
  void Set(calc::Field field, std::u16string_view text) {
    texts_[static_cast<std::size_t>(field)] = std::u16string(text);
  }
  void SetLock(bool checked) { lock_ = checked; }
  void SetOutputState(bool enabled) { output_enabled_ = enabled; }
  // Clears the record of events, keeping texts and state.
  void ClearEvents() { events_.clear(); }

  std::u16string Text(calc::Field field) const override {
    return texts_[static_cast<std::size_t>(field)];
  }
  void SetText(calc::Field field, std::u16string_view text) override {
    Set(field, text);
    if (record_) events_.push_back({Event::Kind::kSetText, field, std::u16string(text), false});
  }
  bool LockChecked() const override { return lock_; }
  void SetOutputEnabled(bool enabled) override {
    output_enabled_ = enabled;
    if (record_) events_.push_back({Event::Kind::kOutputEnabled, {}, {}, enabled});
  }
  void ShowWarning(std::u16string_view text) override {
    warnings_.emplace_back(text);
    if (record_) events_.push_back({Event::Kind::kWarning, {}, std::u16string(text), false});
  }

  bool output_enabled() const { return output_enabled_; }
  const std::vector<std::u16string>& warnings() const { return warnings_; }
  const std::vector<Event>& events() const { return events_; }
  // Benchmarks turn recording off so that they measure the command, not the log.
  void set_recording(bool record) { record_ = record; }

 private:
  std::array<std::u16string, calc::kFieldCount> texts_{};
  bool lock_ = false;
  bool output_enabled_ = false;
  bool record_ = true;
  std::vector<std::u16string> warnings_;
  std::vector<Event> events_;
};

}  // namespace testing_support

#endif  // KORVANE_TESTS_SUPPORT_MEMORY_FORM_H
