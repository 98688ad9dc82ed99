#include "calc/text/displayed_value.h"

#include "calc/text/quantity_format.h"
#include "calc/text/quantity_parse.h"

namespace calc {

double DisplayedValue(double value) { return ParseQuantity(FormatDisplayed(value)); }

}  // namespace calc
