#include "calc/export/response_csv.h"

#include <gtest/gtest.h>

namespace {

using calc::CurveKind;

// The same file from the window and from korvane-cli: RFC 4180 records ending in CR LF,
// numbers in shortest round-trip form.
TEST(ResponseCurvesCsv, OneColumnPairPerCurveAndCrLfLineEnds) {
  calc::ResponseStudy study;
  study.frequencies_hz = {10.0, 1e3, 123456.789};
  study.curves.push_back({CurveKind::kIdeal, {-40.0, 0.0, -41.5}, {-90.0, 180.0, 90.0}, {}});
  study.curves.push_back({CurveKind::kOpAmp, {-40.5, -0.25, -60.0}, {-91.0, 179.5, 45.0}, {}});
  EXPECT_EQ(calc::ResponseCurvesCsv(study),
            "frequency_hz,ideal_gain_db,ideal_phase_deg,opamp_gain_db,opamp_phase_deg\r\n"
            "10,-40,-90,-40.5,-91\r\n"
            "1000,0,180,-0.25,179.5\r\n"
            "123456.789,-41.5,90,-60,45\r\n");

  study.curves.erase(study.curves.begin() + 1);
  study.frequencies_hz.resize(2);
  EXPECT_EQ(calc::ResponseCurvesCsv(study),
            "frequency_hz,ideal_gain_db,ideal_phase_deg\r\n10,-40,-90\r\n1000,0,180\r\n");
}

}  // namespace
