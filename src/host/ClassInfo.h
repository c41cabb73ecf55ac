// Run-time class information and the class registry.
//
// Each persistent class declares itself once with the QX_CLASS macro of
// host/Persistent.h and defines its class info, with its property table, in
// its .cpp file:
//
//   const TClassInfo& TQXSize::StaticClassInfo() {
//     static const TClassInfo info = TClassInfo::Of<TQXSize>({
//         Property<std::uint16_t>("Width", &TQXSize::GetWidth, &TQXSize::SetWidth, 50),
//         Property<std::uint16_t>("Height", &TQXSize::GetHeight, &TQXSize::SetHeight, 50),
//     });
//     return info;
//   }
//
// The class info names the class, links to the parent's info (whose
// properties it inherits), and, for a component class with a constructor
// taking its owner (`TFoo(TComponent* owner)`), holds a factory. Form files
// create components by class name through the registry: register each
// component class that may appear in a form with `RegisterClass<T>()`.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "host/PropertyInfo.h"

namespace qx {

class TClassInfo {
 public:
  using TFactory = TComponent* (*)(TComponent* owner);

  TClassInfo(std::string name, const TClassInfo* parent, TPropertyTable properties,
             TFactory factory = nullptr);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  // The info of class T (declared with QX_CLASS), with T's own properties.
  template <class T>
  static TClassInfo Of(TPropertyTable properties = {});

  const std::string& GetName() const noexcept { return FName; }
  const TClassInfo* GetParent() const noexcept { return FParent; }

  // True for this class and every class derived from `other`.
  bool InheritsFrom(const TClassInfo& other) const noexcept;

  // Every published property, the parent's first, in declaration order.
  const std::vector<const TPropertyInfo*>& GetProperties() const noexcept { return FProperties; }

  // The published property of that name (any case), or null.
  const TPropertyInfo* FindProperty(std::string_view name) const noexcept;

  // Whether the class is a component class that can be created by name.
  bool CanCreate() const noexcept { return FFactory != nullptr; }

  // A new instance owned by `owner` (or by the caller when `owner` is null).
  // Raises EClassNotFound when the class cannot be created.
  TComponent* CreateInstance(TComponent* owner) const;

 private:
  std::string FName;
  const TClassInfo* FParent;
  TPropertyTable FOwnProperties;
  std::vector<const TPropertyInfo*> FProperties;
  TFactory FFactory;
};

template <class T>
TClassInfo TClassInfo::Of(TPropertyTable properties) {
  TFactory factory = nullptr;
  if constexpr (std::is_convertible_v<T*, TComponent*>) {
    if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>) {
      factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
    }
  }
  return TClassInfo(std::string(T::ClassNameLiteral), &T::inherited::StaticClassInfo(),
                    std::move(properties), factory);
}

// Makes `info` findable by name. Registering the same class again does
// nothing; raises EComponentError for a class that cannot be created or a
// different class of the same name. Thread-safe.
void RegisterClass(const TClassInfo& info);
template <class T>
void RegisterClass() {
  RegisterClass(T::StaticClassInfo());
}
void UnregisterClass(const TClassInfo& info);

// The registered class of that name (any case), or null. Thread-safe.
const TClassInfo* FindClass(std::string_view name) noexcept;
// The same, raising EClassNotFound when there is none.
const TClassInfo& GetClass(std::string_view name);

}  // namespace qx
