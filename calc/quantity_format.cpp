// PLACEHOLDER: replaced by the real implementation.
#include "calc/quantity_format.h"
namespace calc {
std::u16string FormatFixed(double, int, int) { return u""; }
std::u16string FormatQuantity(double, int, int) { return u""; }
}  // namespace calc
