// TGUID: a 128-bit identifier of interfaces and stream types.
//
// The text form is the registry form, 38 characters with braces:
// "{877BD684-2669-4F1E-8BA8-E76EE35E5946}". Parsing accepts upper or lower
// case hexadecimal digits, with or without the braces; formatting writes
// upper case with braces. Parsing is constexpr, so constants can be written
// as text and checked by the compiler:
//
//   inline constexpr TGUID IID_Foo = TGUID::Parse("{877BD684-2669-4F1E-8BA8-E76EE35E5946}");
//
// The binary layout is the platform's: a 32-bit, two 16-bit and eight 8-bit
// fields, the first three in host byte order.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/Exceptions.h"

namespace qx {

struct TGUID {
  std::uint32_t D1 = 0;
  std::uint16_t D2 = 0;
  std::uint16_t D3 = 0;
  std::array<std::uint8_t, 8> D4{};

  friend constexpr bool operator==(const TGUID&, const TGUID&) = default;
  friend constexpr auto operator<=>(const TGUID&, const TGUID&) = default;

  // True for the all-zero GUID (GUID_NULL).
  constexpr bool IsNull() const noexcept { return *this == TGUID{}; }

  // The GUID written in `text`, or nothing when the text is not a GUID.
  static constexpr std::optional<TGUID> TryParse(std::string_view text) noexcept;

  // The GUID written in `text`; raises EConvertError when it is not one (at
  // compile time, a bad literal does not compile).
  static constexpr TGUID Parse(std::string_view text) {
    if (auto guid = TryParse(text)) return *guid;
    throw EConvertError("'" + std::string(text) + "' is not a valid GUID");
  }

  // The registry form, upper case with braces.
  std::string ToString() const;
};

constexpr std::optional<TGUID> TGUID::TryParse(std::string_view text) noexcept {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;

  // Reads `digits` hexadecimal digits at `pos`; -1 on a non-digit.
  auto hex = [&](std::size_t pos, std::size_t digits) -> std::int64_t {
    std::int64_t value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
      const char c = text[i];
      int digit = 0;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return -1;
      }
      value = value * 16 + digit;
    }
    return value;
  };

  for (std::size_t dash : {8u, 13u, 18u, 23u}) {
    if (text[dash] != '-') return std::nullopt;
  }
  TGUID guid;
  const std::int64_t d1 = hex(0, 8), d2 = hex(9, 4), d3 = hex(14, 4);
  if (d1 < 0 || d2 < 0 || d3 < 0) return std::nullopt;
  guid.D1 = static_cast<std::uint32_t>(d1);
  guid.D2 = static_cast<std::uint16_t>(d2);
  guid.D3 = static_cast<std::uint16_t>(d3);
  // D4: two bytes before the last dash, six after it.
  constexpr std::size_t bytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
  for (std::size_t i = 0; i < 8; ++i) {
    const std::int64_t byte = hex(bytePos[i], 2);
    if (byte < 0) return std::nullopt;
    guid.D4[i] = static_cast<std::uint8_t>(byte);
  }
  return guid;
}

}  // namespace qx

template <>
struct std::hash<qx::TGUID> {
  std::size_t operator()(const qx::TGUID& g) const noexcept;
};
