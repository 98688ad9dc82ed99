#include "calc/form.h"

#include "calc/quantity_parse.h"

namespace calc {

double ParseField(const Form& form, Field field) { return ParseQuantity(form.Text(field)); }

}  // namespace calc
