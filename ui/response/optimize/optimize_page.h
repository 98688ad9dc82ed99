// The response window's optimisation page (最適化): the joint search of preferred values
// for the main window's design inputs, on the response page's op-amp (or an ideal one),
// with the tolerance page's settings for an optional yield run. A table ranks the sets
// below the design command's own; choosing a row draws its curve over the response page's,
// 適用 writes it into the main window and runs the analysis there, and its parts list can
// be saved as CSV. The results stay while the design inputs and the op-amp do.
#ifndef KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_PAGE_H
#define KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_PAGE_H

#include <QWidget>
#include <cstdint>
#include <optional>

#include "calc/circuit/circuit_parts.h"
#include "calc/studies/preferred_value_search.h"
#include "calc/studies/preferred_value_search_inputs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace ui {

class OptimizeRunner;
class ResponseWindow;

class OptimizePage : public QWidget {
  Q_OBJECT

 public:
  explicit OptimizePage(ResponseWindow* window);
  ~OptimizePage() override;

  // The window's subject or op-amp changed: results for other design inputs or another
  // op-amp are cleared (and a run for them stopped); an applied set keeps them.
  void SubjectChanged();
  // Reads the fields and starts a search; a warning box for unusable fields.
  void Run();
  void Cancel();
  bool running() const;

  // The chosen set: the table's current row (0 the design command's own), or none.
  const calc::ScoredSet* ChosenSet() const;
  // Writes the chosen set into the main window and runs the analysis command there.
  void ApplyChosen();
  // The chosen set's parts list (calc::BomCsv) to `path`; throws ExportError; does nothing
  // without a chosen set.
  void ExportBom(const QString& path);

  const std::optional<calc::PreferredValueSearch>& search() const { return search_; }
  QTableWidget* table() const { return table_; }

 Q_SIGNALS:
  // A run ended: with results, a fault, or cancelled.
  void RunEnded();

 private:
  // What a search was run with: the results belong to these.
  struct RunKey {
    calc::DesignTexts design;
    std::optional<calc::OpAmp> op_amp;
  };
  std::optional<RunKey> CurrentKey() const;
  static bool SameKey(const RunKey& a, const RunKey& b);

  void CreateControls();
  void Show(const calc::PreferredValueSearch& search);
  void ClearResults();
  void SetRunning(bool running);
  void RowChosen();
  void SaveBomAs();

  ResponseWindow* window_;
  OptimizeRunner* runner_;
  std::optional<calc::PreferredValueSearch> search_;
  std::optional<RunKey> key_;                 // of the results shown, or of the run under way
  calc::PartValues tolerances_{};             // the parts' tolerances the results were read with
  std::int32_t series_r_ = 0, series_c_ = 0;  // the series the sets were chosen from
  calc::TransferFunction target_;             // the target they were found for
  QLineEdit* allow_fo_ = nullptr;
  QLineEdit* allow_q_ = nullptr;
  QLineEdit* allow_h_ = nullptr;
  QLineEdit* steps_ = nullptr;
  QLineEdit* top_ = nullptr;
  QComboBox* ranking_ = nullptr;
  QCheckBox* yield_ = nullptr;
  QCheckBox* ideal_ = nullptr;
  QPushButton* run_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
  QPushButton* apply_button_ = nullptr;
  QPushButton* bom_button_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
};

}  // namespace ui

#endif  // KORVANE_UI_RESPONSE_OPTIMIZE_OPTIMIZE_PAGE_H
