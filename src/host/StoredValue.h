// A value read from a form file under a name that is not a published property:
// what `TPersistent::ReadOlderProperty` receives.
//
// The three ways a class takes an older name:
//
//   bool TQXDSCapture::ReadOlderProperty(const TStoredValue& value) {
//     if (SameText(value.GetName(), "CaptionsEnabled")) {     // renamed and moved
//       value.ApplyTo(*GetClosedCaptions(), "Enabled");
//       return true;
//     }
//     return inherited::ReadOlderProperty(value);
//   }
//
//   if (SameText(value.GetName(), "FullScreen")) {            // obsolete: checked, ignored
//     value.As<bool>();
//     return true;
//   }
//
//   if (SameText(value.GetName(), "Width")) {                 // moved into a sub-object
//     value.ApplyTo(*GetSize(), "Width");
//     return true;
//   }
//
// Every failure (a value of the wrong type, an unknown target property) raises
// EFormFileError naming the file and the path of the stored value, like any
// other bad entry of the form file.
#pragma once

#include <string>
#include <string_view>

#include "host/Properties.h"

namespace qx {

namespace detail {
class TFormReader;
}

class TStoredValue {
 public:
  // The stored name, as spelled in the file.
  const std::string& GetName() const noexcept { return FName; }
  // The stored value as it appears in the file.
  const nlohmann::json& GetJson() const noexcept { return FValue; }
  // JSON pointer of the value in the file.
  const std::string& GetPath() const noexcept { return FPath; }

  // The value converted to V, any type `Property<V>` accepts.
  template <detail::PropertyValue V>
  V As() const {
    try {
      return detail::TValueTraits<V>::FromJson(FValue);
    } catch (const EPropertyError& error) {
      RaiseError(error.what());
    }
  }

  // Reads the value as the published property `propertyName` of `target`,
  // exactly as if it had been stored under that name (nested objects,
  // collections and component references included).
  void ApplyTo(TPersistent& target, std::string_view propertyName) const;

  // Raises EFormFileError for this value with `reason`.
  [[noreturn]] void RaiseError(const std::string& reason) const;

 private:
  friend class detail::TFormReader;
  TStoredValue(detail::TFormReader& reader, std::string name, const nlohmann::json& value,
               std::string path)
      : FReader(reader), FName(std::move(name)), FValue(value), FPath(std::move(path)) {}

  detail::TFormReader& FReader;
  std::string FName;
  const nlohmann::json& FValue;
  std::string FPath;
};

}  // namespace qx
