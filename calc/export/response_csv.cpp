#include "calc/export/response_csv.h"

#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/text/number_text.h"

namespace calc {

std::string ResponseCurvesCsv(const ResponseStudy& study) {
  std::vector<std::string> cells = {"frequency_hz"};
  for (const ResponseCurve& curve : study.curves) {
    const std::string name(CurveName(curve.kind));
    cells.push_back(name + "_gain_db");
    cells.push_back(name + "_phase_deg");
  }
  std::string out;
  AppendCsvRecord(out, cells);
  for (std::size_t i = 0; i < study.frequencies_hz.size(); ++i) {
    cells.assign(1, ShortestText(study.frequencies_hz[i]));
    for (const ResponseCurve& curve : study.curves) {
      cells.push_back(ShortestText(curve.gain_db[i]));
      cells.push_back(ShortestText(curve.phase_deg[i]));
    }
    AppendCsvRecord(out, cells);
  }
  return out;
}

}  // namespace calc
