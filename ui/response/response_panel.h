// The side panel of the response page: the op-amp (picked from the catalogue or typed) and
// the conditions it works in, in fields read by one mechanism (SettingFields); the figures
// of each curve against the target, what the circuit asks of its op-amp and the stage's
// headroom.
#ifndef KORVANE_UI_RESPONSE_RESPONSE_PANEL_H
#define KORVANE_UI_RESPONSE_RESPONSE_PANEL_H

#include <QWidget>
#include <vector>

#include "calc/analysis/headroom.h"
#include "calc/circuit/op_amp_part.h"
#include "calc/studies/stage_op_amp.h"
#include "calc/text/outcome.h"
#include "ui/response/response_data.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace ui {

class SettingFields;

class ResponsePanel : public QWidget {
  Q_OBJECT

 public:
  explicit ResponsePanel(QWidget* parent = nullptr);
  ~ResponsePanel() override;

  // The settings as last read without fault, field by field.
  const OpAmpSettings& settings() const { return settings_; }

  // The op-amp the panel stands for now, as picked or typed: what every study of the
  // window takes as its op-amp (its model by calc::OpAmpModelOf). The name is the
  // catalogue part's while the fields hold its figures, empty for typed figures.
  calc::StageOpAmp CurrentOpAmp() const { return settings_.figures; }

  // The catalogue's parts for the op-amp box, after "(手入力)", and its warnings, shown
  // beside the box (they stop nothing).
  void SetCatalogue(std::vector<calc::OpAmpPart> parts,
                    const std::vector<calc::Diagnostic>& warnings);
  const std::vector<calc::OpAmpPart>& parts() const { return parts_; }
  QComboBox* op_amp_box() const { return op_amp_box_; }

  void Show(const ResponseData& data);
  // The headroom for the settings, or why there is none.
  void ShowHeadroom(const calc::Outcome<calc::Headroom>& headroom);
  void Clear();

  // The table's rows and columns, in order.
  enum Row { kPeak, kQ, kGain, kLow3Db, kHigh3Db, kBandwidth, kRowCount };
  QTableWidget* table() const { return table_; }
  QLineEdit* field(const char* name) const;

 Q_SIGNALS:
  // A setting took a new value.
  void SettingsChanged();

 private:
  void AddFields();
  void ReadFields(const QLineEdit* finished = nullptr);
  void PickPart(int index);
  void FigureEdited(int field);

  OpAmpSettings settings_;
  std::vector<calc::OpAmpPart> parts_;
  QComboBox* op_amp_box_ = nullptr;
  QLabel* catalogue_warning_ = nullptr;
  SettingFields* fields_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* required_gbw_ = nullptr;
  QLabel* required_a0_ = nullptr;
  QLabel* required_slew_ = nullptr;
  QLabel* headroom_ = nullptr;
  QLabel* warning_ = nullptr;
  QLabel* headroom_warning_ = nullptr;
  QFormLayout* form_ = nullptr;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_RESPONSE_PANEL_H
