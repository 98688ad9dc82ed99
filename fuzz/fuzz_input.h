// Turning fuzz bytes into the inputs of the core: UTF-16 field texts and doubles. The
// encodings are chosen so that a few mutated bytes reach the characters and magnitudes
// that matter (prefix letters, full-width forms, surrogates, thousands of commas, decimal
// halves), which raw UTF-16 or raw bit patterns reach only by luck.
#ifndef KORVANE_FUZZ_FUZZ_INPUT_H
#define KORVANE_FUZZ_FUZZ_INPUT_H

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz_support {

// Stops the run with a message that says which promise was broken; libFuzzer keeps the
// input that did it.
[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "\n*** broken promise: %s\n%s\n", what, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// `detail` is a callable that returns the message's detail: it only runs on failure, so
// the checks cost nothing when they pass.
template <typename Detail>
void Require(bool ok, const char* what, Detail detail) {
  if (!ok) Fail(what, detail());
}

// Escapes a text for a failure message: ASCII as is, everything else as \uXXXX.
inline std::string Printable(std::u16string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < 200; ++i) {
    const char16_t unit = text[i];
    if (unit >= 0x20 && unit < 0x7F && unit != '\\' && unit != '"') {
      out += static_cast<char>(unit);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(unit));
      out += buffer;
    }
  }
  if (text.size() > 200) out += "...(" + std::to_string(text.size()) + " units)";
  return out + "\"";
}

inline std::string Describe(double value) {
  char buffer[64];
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::snprintf(buffer, sizeof buffer, "%.17g (0x%016llX)", value,
                static_cast<unsigned long long>(bits));
  return buffer;
}

// Byte codes of the text encoding:
//   0x00-0x7F  the code unit of the same value
//   0x80-0xEF  one of kSpecialUnits (full-width forms, look-alikes, spaces, surrogates)
//   0xF0-0xF7  repeat the previous unit 4, 16, 64 ... 65536 times ("1" then 0xF5: 4096 ones)
//   0xF8-0xFB  repeat the whole text so far 2, 4, 8 or 16 times
//   0xFC       U+FFFE;  0xFD  U+FFFF
//   0xFE lo hi any code unit, little-endian
//   0xFF       ends the text and starts the next one
inline constexpr char16_t kSpecialUnits[] = {
    // Control characters and spaces: trimmed, deleted, or neither.
    0x0009,
    0x000A,
    0x000D,
    0x001F,
    0x007F,
    0x0085,
    0x00A0,
    0x1680,
    0x2007,
    0x2009,
    0x200B,
    0x202F,
    0x2028,
    0x3000,
    0xFEFF,
    // Full-width forms of the number characters; they are not number characters.
    0xFF10,
    0xFF11,
    0xFF12,
    0xFF14,
    0xFF15,
    0xFF17,
    0xFF19,
    0xFF0E,
    0xFF0C,
    0xFF0B,
    0xFF0D,
    0xFF25,
    0xFF45,
    0x3002,
    0x2212,
    0x2013,
    0x00B7,
    // Prefix letters, full-width and Greek.
    0xFF50,
    0xFF4E,
    0xFF55,
    0xFF4D,
    0xFF4B,
    0xFF2D,
    0xFF47,
    0xFF54,
    0xFF30,
    0xFF2E,
    0xFF35,
    0xFF2B,
    0xFF27,
    0xFF34,
    0x03BC,
    // Look-alikes that are no prefix: micro sign, capital mu, ohm, kelvin sign, Latin letters.
    0x00B5,
    0x039C,
    0x2126,
    0x03A9,
    0x212A,
    0x0130,
    0x0131,
    0x017F,
    0xFF21,
    0xFF41,
    0xFF46,
    0xFF58,
    0xFF04,
    0x00FF,
    0x0100,
    0x00D7,
    // Digits of other scripts and number forms.
    0x0660,
    0x0665,
    0x06F5,
    0x0966,
    0x00B2,
    0x00B9,
    0x00BD,
    0x2070,
    0x2075,
    0x2153,
    0x2160,
    0x221E,
    // Surrogates, paired and unpaired, and the specials.
    0xD800,
    0xDBFF,
    0xDC00,
    0xDFFF,
    0xD83D,
    0xDE00,
    0xFFFD,
    0xFF00,
    0xFFE5,
    0xE000,
    // Characters whose low byte is a number character, to catch a narrowing comparison.
    0x012B,
    0x012D,
    0x012E,
    0x0130,
    0x0131,
    0x0135,
    0x0139,
    0x0145,
    0x0165,
    0x016B,
    0x014D,
    0x0124,
    0x012C,
    0x0120,
    0x0B30,
    0xFF2C,
};
inline constexpr std::size_t kSpecialUnitCount = sizeof kSpecialUnits / sizeof kSpecialUnits[0];

// Splits and decodes `data` into at most `max_texts` texts of at most `max_units` units
// each, whatever the repeat codes ask for; bytes after the last text allowed are ignored.
// A text of 2^18 units makes any quadratic pass exceed the per-input time limit.
inline std::vector<std::u16string> DecodeTexts(const std::uint8_t* data, std::size_t size,
                                               std::size_t max_texts,
                                               std::size_t max_units = std::size_t{1} << 18) {
  const auto Append = [max_units](std::u16string& text, char16_t unit, std::size_t count) {
    count = std::min(count, max_units - std::min(max_units, text.size()));
    text.append(count, unit);
  };
  std::vector<std::u16string> texts(1);
  for (std::size_t i = 0; i < size; ++i) {
    std::u16string& text = texts.back();
    const std::uint8_t byte = data[i];
    if (byte < 0x80) {
      Append(text, byte, 1);
    } else if (byte < 0xF0) {
      Append(text, kSpecialUnits[(byte - 0x80u) % kSpecialUnitCount], 1);
    } else if (byte < 0xF8) {
      if (!text.empty()) Append(text, text.back(), std::size_t{4} << (2 * (byte - 0xF0u)));
    } else if (byte < 0xFC) {
      const std::size_t copies = (std::size_t{2} << (byte - 0xF8u)) - 1;
      const std::u16string part = text;
      for (std::size_t c = 0; c < copies && text.size() + part.size() <= max_units; ++c) {
        text += part;
      }
    } else if (byte == 0xFC) {
      Append(text, 0xFFFE, 1);
    } else if (byte == 0xFD) {
      Append(text, 0xFFFF, 1);
    } else if (byte == 0xFE) {
      if (i + 2 < size) {
        Append(text, static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8)), 1);
      }
      i += 2;
    } else {
      if (texts.size() == max_texts) break;
      texts.emplace_back();
    }
  }
  return texts;
}

// Doubles from fuzz bytes. The first byte picks how the next nine are read:
//   even: the next eight bytes are the bit pattern (every double, NaN and infinities too)
//   odd:  a decimal number, up to 18 digits from the next eight bytes and a power of ten
//         from the ninth (-340 .. +340), so that decimal halves like 999.9995 and 277.7245
//         and the prefix boundaries come up as often as random bit patterns.
// Missing bytes read as zero. `used` tells how many bytes were taken.
inline double DecodeDouble(const std::uint8_t* data, std::size_t size, std::size_t& used) {
  std::uint8_t bytes[10] = {};
  used = std::min<std::size_t>(size, sizeof bytes);
  if (used > 0) std::memcpy(bytes, data, used);
  std::uint64_t payload;
  std::memcpy(&payload, bytes + 1, sizeof payload);
  if ((bytes[0] & 1) == 0) {
    double value;
    std::memcpy(&value, &payload, sizeof value);
    return value;
  }
  const std::uint64_t mantissa = payload % 1'000'000'000'000'000'000ull;
  const int exponent = static_cast<int>(bytes[9] % 171) * 4 - 340 + (bytes[0] >> 1) % 4;
  char text[48];
  char* end = std::to_chars(text, text + sizeof text, mantissa).ptr;
  *end++ = 'e';
  end = std::to_chars(end, text + sizeof text, exponent).ptr;
  double value = 0;
  const auto result = std::from_chars(text, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    value = exponent > 0 ? HUGE_VAL : 0.0;
  }
  return (bytes[0] & 0x80) != 0 ? -value : value;
}

}  // namespace fuzz_support

#endif  // KORVANE_FUZZ_FUZZ_INPUT_H
