// The side panel of the response page: the op-amp and the input (fields that read the
// main window's quantity texts), the figures of each curve against the target, and what
// the circuit asks of its op-amp.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_PANEL_H
#define KORVANE_UI_RESPONSE_RESPONSE_PANEL_H

#include <QWidget>

#include "ui/response/response_data.h"

class QFormLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace ui {

class ResponsePanel : public QWidget {
  Q_OBJECT

 public:
  explicit ResponsePanel(QWidget* parent = nullptr);

  // The settings as last read without fault.
  const OpAmpSettings& settings() const { return settings_; }

  void Show(const ResponseData& data);
  void Clear();

  // The table's rows and columns, in order.
  enum Row { kPeak, kQ, kGain, kLow3Db, kHigh3Db, kBandwidth, kRowCount };
  QTableWidget* table() const { return table_; }
  QLineEdit* field(const char* name) const;

 Q_SIGNALS:
  // A field was changed to a readable value.
  void SettingsChanged();

 private:
  QLineEdit* AddField(const char* name, const QString& label, const QString& text,
                      const QString& hint);
  void ReadFields();

  OpAmpSettings settings_;
  QTableWidget* table_ = nullptr;
  QLabel* required_gbw_ = nullptr;
  QLabel* required_a0_ = nullptr;
  QLabel* required_slew_ = nullptr;
  QLabel* warning_ = nullptr;
  QFormLayout* form_ = nullptr;
  QString warned_text_;  // the unreadable text last warned about
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_PANEL_H
