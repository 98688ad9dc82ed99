// A value or the diagnostic that says why there is none: the one way studies, the reading
// of settings and the front ends' own checks report failure (no out-parameters, no
// sentinel values, no exceptions but FloatError, which stays the commands' own).
#ifndef KORVANE_CALC_TEXT_OUTCOME_H
#define KORVANE_CALC_TEXT_OUTCOME_H

#include <utility>
#include <variant>

#include "calc/text/diagnostic.h"

namespace calc {

// Outcome<double> ok = 2.5;  Outcome<double> failed = Diagnostic{Problem::kCancelled};
// ok.ok() -> true, *ok -> 2.5; failed.ok() -> false, failed.diagnostic().problem -> kCancelled.
// value() on a failed outcome throws std::bad_variant_access: a caller must look first.
template <typename T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Outcome(Diagnostic diagnostic) : state_(std::in_place_index<1>, std::move(diagnostic)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }

  const Diagnostic& diagnostic() const { return std::get<1>(state_); }

 private:
  std::variant<T, Diagnostic> state_;
};

}  // namespace calc

#endif  // KORVANE_CALC_TEXT_OUTCOME_H
