// PLACEHOLDER: replaced by the real implementation.
#include "calc/design_command.h"
namespace calc {
void ButtonCalcClick(Form&, CalcState&) {}
void RunDesign(Form&, CalcState&) {}
void ClearDesignResults(Form&) {}
void ReadSeriesChoice(const Form&, CalcState&) {}
void ShowDesignResults(Form&, const CalcState&) {}
}  // namespace calc
