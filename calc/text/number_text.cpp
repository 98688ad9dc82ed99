#include "calc/text/number_text.h"

#include <array>
#include <charconv>
#include <cmath>

namespace calc {

void AppendShortest(std::string& out, double value) {
  if (std::isnan(value)) return;
  std::array<char, 32> buffer;  // the longest shortest form of a double has 24 characters
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

std::string ShortestText(double value) {
  std::string text;
  AppendShortest(text, value);
  return text;
}

}  // namespace calc
