#include "ui/response/setting_fields.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <cmath>

#include "calc/numeric/quantity.h"
#include "calc/studies/setting_texts.h"
#include "calc/text/diagnostic.h"
#include "ui/boxes/warning_box.h"

namespace ui {
namespace {

const QString kRefusedStyle = QStringLiteral("QLineEdit { border: 2px solid #b00000; }");

}  // namespace

SettingFields::SettingFields(QWidget* owner, QFormLayout* form, QLabel* messages)
    : QObject(owner), owner_(owner), form_(form), messages_(messages) {
  messages_->setWordWrap(true);
  messages_->setStyleSheet(QStringLiteral("color: #b00000"));
  messages_->hide();
}

int SettingFields::Add(const char* name, const QString& label, const QString& text,
                       const QString& hint, Reader read, bool optional) {
  auto* edit = new QLineEdit(text, owner_);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAccessibleName(label);
  edit->setToolTip(hint);
  form_->addRow(label, edit);
  const int index = size();
  Field field{edit, std::move(read), optional, calc::kNoValue, false, std::nullopt};
  // The default text is valid: it gives the value to fall back on.
  const std::u16string start = text.toStdU16String();
  if (!(optional && calc::TrimBlanks(start).empty())) {
    if (const calc::Outcome<double> value = field.read(start)) field.value = *value;
  }
  fields_.push_back(std::move(field));
  connect(edit, &QLineEdit::editingFinished, this, [this, edit] { Q_EMIT Finished(edit); });
  connect(edit, &QLineEdit::textEdited, this, [this, index] { Q_EMIT Edited(index); });
  return index;
}

int SettingFields::Add(const char* name, calc::StageSetting setting, const QString& unit,
                       const QString& text, const QString& hint, bool optional) {
  QString label = QString::fromUtf8(calc::RuleOf(setting).label);
  if (!unit.isEmpty()) label += QStringLiteral(" [") + unit + u']';
  return Add(
      name, label, text, hint,
      [setting](std::u16string_view typed) { return calc::ReadStageSetting(setting, typed); },
      optional);
}

void SettingFields::Mark(Field& field, const QString& message) {
  field.refused = !message.isEmpty();
  field.edit->setStyleSheet(field.refused ? kRefusedStyle : QString());
  field.edit->setAccessibleDescription(message);
}

bool SettingFields::Read(const QLineEdit* finished) {
  bool changed = false;
  QStringList messages;
  for (Field& field : fields_) {
    const std::u16string text = field.edit->text().toStdU16String();
    calc::Outcome<double> value = field.optional && calc::TrimBlanks(text).empty()
                                      ? calc::Outcome<double>(calc::kNoValue)
                                      : field.read(text);
    if (value) {
      Mark(field, QString());
      field.warned_text.reset();
      const bool same = field.value == *value || (std::isnan(field.value) && std::isnan(*value));
      if (!same) changed = true;
      field.value = *value;
      continue;
    }
    const QString message = QString::fromStdU16String(calc::WindowText(value.diagnostic()));
    Mark(field, message);
    messages << message;
    if (field.edit == finished && owner_->isVisible() && field.warned_text != field.edit->text()) {
      // One box per refused text: leaving the field again does not repeat it.
      field.warned_text = field.edit->text();
      ShowWarning(owner_->window(), message);
      field.edit->setFocus();
      field.edit->selectAll();
    }
  }
  messages_->setText(messages.join(u'\n'));
  messages_->setVisible(!messages.isEmpty());
  return changed;
}

}  // namespace ui
