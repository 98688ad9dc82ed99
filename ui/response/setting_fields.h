// The typed settings of a page as one set of fields with one way of reading them: each
// field is read by its own rule, a field whose text its rule refuses is marked and its
// message shown beside the fields (and, when the user has just left it, in a warning box),
// and the results go on with that field's last valid value, so that no setting is ever
// ignored in silence and no figure is shown for a value the field does not hold.
#ifndef KORVANE_UI_RESPONSE_SETTING_FIELDS_H
#define KORVANE_UI_RESPONSE_SETTING_FIELDS_H

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "calc/studies/stage_settings.h"
#include "calc/text/outcome.h"

class QFormLayout;
class QLabel;
class QLineEdit;

namespace ui {

class SettingFields : public QObject {
  Q_OBJECT

 public:
  // Reads a field's text: the value, or the diagnostic the message is made of.
  using Reader = std::function<calc::Outcome<double>(std::u16string_view)>;

  // Fields go into `form` as rows; the messages into `messages`, shown while any field is
  // refused. Boxes are owned by `owner`'s window.
  SettingFields(QWidget* owner, QFormLayout* form, QLabel* messages);

  // Adds a row and returns its index. A field read by a StageSetting's rule takes its
  // label from the rule; an optional one reads an empty text as no value.
  int Add(const char* name, const QString& label, const QString& text, const QString& hint,
          Reader read, bool optional = false);
  int Add(const char* name, calc::StageSetting setting, const QString& unit, const QString& text,
          const QString& hint, bool optional = false);

  // The value last read without fault (the default's before any), and the field.
  double value(int index) const { return fields_[static_cast<std::size_t>(index)].value; }
  QLineEdit* edit(int index) const { return fields_[static_cast<std::size_t>(index)].edit; }
  // Whether the field's text is refused now.
  bool refused(int index) const { return fields_[static_cast<std::size_t>(index)].refused; }
  int size() const { return static_cast<int>(fields_.size()); }

  // Reads every field; a field refused is marked and keeps its value. `finished` (the field
  // the user has just left, or none) gets a warning box for a text not warned of before
  // while the owner is shown. Returns whether any value changed.
  bool Read(const QLineEdit* finished = nullptr);

 Q_SIGNALS:
  // The user left a field (editingFinished): the caller reads the fields.
  void Finished(QLineEdit* edit);
  // The user typed in field `index` (not a text set by the program).
  void Edited(int index);

 private:
  struct Field {
    QLineEdit* edit;
    Reader read;
    bool optional;
    double value;
    bool refused = false;
    std::optional<QString> warned_text;  // the refused text last warned of in a box
  };
  void Mark(Field& field, const QString& message);

  QWidget* owner_;
  QFormLayout* form_;
  QLabel* messages_;
  std::vector<Field> fields_;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_SETTING_FIELDS_H
