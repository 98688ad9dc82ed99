// An in-memory calc::Form for headless tests, fuzzing and benchmarks. It starts with the
// main window's start-up texts and records every field write, warning and button change
// in order, so a test can check what the user would have seen, and when.
#ifndef KORVANE_TESTS_SUPPORT_MEMORY_FORM_H
#define KORVANE_TESTS_SUPPORT_MEMORY_FORM_H

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/commands/form.h"
#include "calc/text/utf8.h"

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
    texts_[static_cast<std::size_t>(field)].assign(text);  // reuses the buffer
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
  // The events as readable UTF-8 lines, so a test can compare a whole run at once and a
  // failure prints what happened: `EditFor="  1.000k"`, `warning="..."`, `output=on`.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    lines.reserve(events_.size());
    for (const Event& event : events_) lines.push_back(Describe(event));
    return lines;
  }
  static std::string Describe(const Event& event) {
    switch (event.kind) {
      case Event::Kind::kSetText:
        return std::string(FieldName(event.field)) + "=\"" + ToUtf8(event.text) + "\"";
      case Event::Kind::kWarning:
        return "warning=\"" + ToUtf8(event.text) + "\"";
      case Event::Kind::kOutputEnabled:
        break;
    }
    return event.enabled ? "output=on" : "output=off";
  }
  static const char* FieldName(calc::Field field) {
    static constexpr const char* kNames[calc::kFieldCount] = {
        "EditFo", "EditQ",  "EditH",  "EditStdR", "ComboBoxER", "ComboBoxEC", "EditR1",
        "EditR2", "EditR3", "EditC1", "EditC2",   "EditFor",    "EditQr",     "EditHr"};
    return kNames[static_cast<std::size_t>(field)];
  }
  // UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
  static std::string ToUtf8(std::u16string_view text) { return calc::Utf16ToUtf8(text); }
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
