// The checked operations themselves are inline in the header; here is what only the
// faulting path needs.
#include "calc/numeric/float_ops.h"

namespace calc {
namespace {

const char* MessageOf(FloatError::Kind kind) {
  switch (kind) {
    case FloatError::Kind::kDivisionByZero:
      return "Floating point division by zero";
    case FloatError::Kind::kOverflow:
      return "Floating point overflow";
    case FloatError::Kind::kInvalidOperation:
      break;
  }
  return "Invalid floating point operation";
}

}  // namespace

FloatError::FloatError(Kind kind) : std::runtime_error(MessageOf(kind)), kind_(kind) {}

namespace float_ops_detail {

void Raise(FloatError::Kind kind) { throw FloatError(kind); }

}  // namespace float_ops_detail
}  // namespace calc
