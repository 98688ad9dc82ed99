#include "calc/export/noise_csv.h"

#include <vector>

#include "calc/export/csv_writer.h"
#include "calc/text/number_text.h"

namespace calc {

std::string NoiseDensitiesCsv(const NoiseAnalysis& noise) {
  std::vector<std::string> cells = {"frequency_hz", "total_v_rthz"};
  for (int s = 0; s < kNoiseSourceCount; ++s) {
    if (noise.present[s]) cells.push_back(std::string(kNoiseSourceNames[s]) + "_v_rthz");
  }
  std::string out;
  AppendCsvRecord(out, cells);
  for (std::size_t i = 0; i < noise.frequencies_hz.size(); ++i) {
    cells.assign({ShortestText(noise.frequencies_hz[i]), ShortestText(noise.total_v_rthz[i])});
    for (int s = 0; s < kNoiseSourceCount; ++s) {
      if (noise.present[s]) cells.push_back(ShortestText(noise.source_v_rthz[s][i]));
    }
    AppendCsvRecord(out, cells);
  }
  return out;
}

}  // namespace calc
