// The response study's curves as CSV, the same file from the window's export and from
// `korvane-cli response --format csv`.
#ifndef KORVANE_CALC_EXPORT_RESPONSE_CSV_H
#define KORVANE_CALC_EXPORT_RESPONSE_CSV_H

#include <string>

#include "calc/studies/response_study.h"

namespace calc {

// RFC 4180 with CR LF line ends: a header "frequency_hz", then "<curve>_gain_db" and
// "<curve>_phase_deg" for each present curve (CurveName: target, ideal, opamp), and one row
// per frequency, numbers in shortest round-trip form. A study of 10 Hz and 1 kHz with the
// ideal curve alone:
//   "frequency_hz,ideal_gain_db,ideal_phase_deg\r\n10,-40,-90\r\n1000,0,180\r\n"
std::string ResponseCurvesCsv(const ResponseStudy& study);

}  // namespace calc

#endif  // KORVANE_CALC_EXPORT_RESPONSE_CSV_H
