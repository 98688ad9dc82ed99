#include "calc/commands/form.h"

#include "calc/text/quantity_parse.h"

namespace calc {

double ParseField(const Form& form, Field field) { return ParseQuantity(form.Text(field)); }

}  // namespace calc
