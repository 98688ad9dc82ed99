#include "calc/text/utf8.h"

#include <algorithm>
#include <cstdint>

namespace calc {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

void AppendUtf16(std::u16string& out, std::uint32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
  } else {
    code_point -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, std::uint32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code_point = 0, minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code_point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code_point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code_point = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;  // a continuation byte or 0xF8..0xFF in the lead position
    }
    if (text.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto byte = static_cast<unsigned char>(text[i + k]);
      if (!IsContinuation(byte)) return std::nullopt;
      code_point = (code_point << 6) | (byte & 0x3F);
    }
    const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
    if (code_point < minimum || code_point > 0x10FFFF || surrogate) return std::nullopt;
    AppendUtf16(out, code_point);
    i += length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  // Result texts are mostly ASCII (all but the micro prefix and the messages): one unit,
  // one byte, without the per-character appends below.
  if (std::all_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x80; })) {
    return std::string(text.begin(), text.end());
  }
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      unit = 0xFFFD;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

}  // namespace calc
