// Value names of enumerations, for published properties and form files.
//
// An enumeration used as a published property (or inside a `TSet`) declares
// its type name and the names of its values once, by specialising
// `TEnumNames` next to the enumeration:
//
//   enum TQXAspectRatioMode : std::uint8_t { arNone, arAuto, arCustom };
//
//   template <>
//   struct TEnumNames<TQXAspectRatioMode> {
//     static constexpr std::string_view TypeName = "TQXAspectRatioMode";
//     static constexpr TEnumValueName<TQXAspectRatioMode> Values[] = {
//         {arNone, "arNone"}, {arAuto, "arAuto"}, {arCustom, "arCustom"}};
//   };
//
// Form files store the value's name; names are matched without regard to
// case when read.
#pragma once

#include <optional>
#include <string_view>
#include <type_traits>

#include "host/Identifiers.h"

namespace qx {

template <class E>
struct TEnumValueName {
  E Value;
  std::string_view Name;
};

// Specialise for each enumeration that has value names (see above).
template <class E>
struct TEnumNames;

template <class E>
concept NamedEnum = std::is_enum_v<E> && requires {
  { TEnumNames<E>::TypeName } -> std::convertible_to<std::string_view>;
  TEnumNames<E>::Values[0].Name;
};

// The name of `value`, or an empty view when the value has no name.
template <NamedEnum E>
constexpr std::string_view EnumValueName(E value) noexcept {
  for (const auto& entry : TEnumNames<E>::Values) {
    if (entry.Value == value) return entry.Name;
  }
  return {};
}

// The value named `name` (any case), or nothing.
template <NamedEnum E>
constexpr std::optional<E> EnumValueFromName(std::string_view name) noexcept {
  for (const auto& entry : TEnumNames<E>::Values) {
    if (SameText(entry.Name, name)) return entry.Value;
  }
  return std::nullopt;
}

}  // namespace qx
