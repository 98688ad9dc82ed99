// PLACEHOLDER: replaced by the real implementation.
#include "calc/band_pass.h"
namespace calc {
void AnalyzeBandPass(CalcState&, double, double, double, double, double) {}
void DesignBandPass(Form&, CalcState&, double, double, double, std::int32_t, std::int32_t) {}
}  // namespace calc
