// Identifier rules shared by component names, property names and enumeration
// value names.
//
// Names in the framework are ASCII identifiers compared without regard to
// case: "Display1" and "display1" name the same component, and a form file
// may spell a property or an enumeration value in either case.
#pragma once

#include <string_view>

namespace qx {

constexpr char AsciiLower(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// True when `a` and `b` are equal ignoring ASCII case.
constexpr bool SameText(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// True for a non-empty identifier: an ASCII letter or underscore followed by
// letters, digits and underscores.
constexpr bool IsValidIdent(std::string_view name) noexcept {
  if (name.empty()) return false;
  auto isLetter = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  };
  if (!isLetter(name.front())) return false;
  for (char c : name) {
    if (!isLetter(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

}  // namespace qx
