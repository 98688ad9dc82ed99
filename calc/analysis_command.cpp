// PLACEHOLDER: replaced by the real implementation.
#include "calc/analysis_command.h"
namespace calc {
void ButtonTFClick(Form&, CalcState&) {}
}  // namespace calc
