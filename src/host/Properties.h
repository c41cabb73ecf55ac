// Declaring published properties, and reading and writing them by name.
//
// A class lists its published properties in its class info (host/ClassInfo.h)
// with these helpers, each taking the property's name and its accessors as
// member-function pointers:
//
//   Property<V>(name, getter, setter [, default])
//       V is bool, an integer type (8 to 64 bits), float, double,
//       std::string, an enumeration with value names (host/EnumNames.h) or a
//       TSet of one (host/Set.h). The getter is `R (C::*)() const` with R
//       convertible to V, the setter `void (C::*)(A)` with A taking a V.
//       Without a default the value is always written to form files.
//   ObjectProperty(name, getter)
//       An owned TPersistent sub-object; the getter returns a pointer to it.
//       Form files store its properties as a nested JSON object.
//   CollectionProperty(name, getter)
//       An owned TCollection (host/Collection.h); stored as a JSON array with
//       one object per item.
//   ComponentProperty(name, getter, setter)
//       A reference to another component of class D: `D* (C::*)() const` and
//       `void (C::*)(D*)`. Stored as the component's name. The owner of the
//       property should hold the reference in a TComponentLink
//       (host/Component.h) so that it is dropped when the component goes.
//
// Each helper returns a declaration on which `.Stored(false)` or
// `.StoredWhen(&C::Predicate)` may follow (host/PropertyInfo.h).
//
// Reflection: `GetProperty<V>(object, "Name")` and `SetProperty(object,
// "Name", value)` read and write a property of any kind by name, checking the
// requested type against the declared one; `GetPropertyInfo` gives the
// property's description (and its JSON accessors) to generic tools.
#pragma once

#include <bit>
#include <cmath>
#include <concepts>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "host/Collection.h"
#include "host/EnumNames.h"
#include "host/Exceptions.h"
#include "host/Persistent.h"
#include "host/Set.h"

namespace qx {

// The published property `name` (any case) of `instance`'s class; raises
// EPropertyError when there is none.
const TPropertyInfo& GetPropertyInfo(const TPersistent& instance, std::string_view name);

// True when some published property of `instance` differs from its default
// and is stored: what a form file would write for it.
bool HasStoredValues(const TPersistent& instance);

namespace detail {

// A JSON value as messages show it: scalars as written (shortened), arrays
// and objects by their kind only.
std::string DescribeJson(const nlohmann::json& value);

[[noreturn]] void RaiseForeignInstance(const TPropertyInfo& info, const TPersistent& instance);
[[noreturn]] void RaiseWrongValue(std::string_view expected, const nlohmann::json& found);
[[noreturn]] void RaiseOutOfRange(std::string_view type, const nlohmann::json& found);
[[noreturn]] void RaiseWrongType(const TPropertyInfo& info, std::string_view requested);
[[noreturn]] void RaiseUnnamedValue(std::string_view enumeration, long long ordinal);
[[noreturn]] void RaiseUnknownValueName(std::string_view enumeration, std::string_view name);

// The instance as the class that declared the property.
template <class C>
const C& InstanceAs(const TPropertyInfo& info, const TPersistent& instance) {
  const C* object = dynamic_cast<const C*>(&instance);
  if (!object) RaiseForeignInstance(info, instance);
  return *object;
}
template <class C>
C& InstanceAs(const TPropertyInfo& info, TPersistent& instance) {
  return const_cast<C&>(InstanceAs<C>(info, std::as_const(instance)));
}

// How each scalar value type is named, and converted to and from JSON.
template <class V>
struct TValueTraits;

template <>
struct TValueTraits<bool> {
  static constexpr TPropertyKind Kind = pkBoolean;
  static std::string TypeName() { return "bool"; }
  static nlohmann::json ToJson(bool value) { return value; }
  static bool FromJson(const nlohmann::json& json) {
    if (!json.is_boolean()) RaiseWrongValue(TypeName(), json);
    return json.get<bool>();
  }
};

template <std::integral V>
requires(!std::same_as<V, bool>) struct TValueTraits<V> {
  static constexpr TPropertyKind Kind = pkInteger;
  static std::string TypeName() {
    return (std::is_signed_v<V> ? "int" : "uint") + std::to_string(8 * sizeof(V));
  }
  static nlohmann::json ToJson(V value) { return value; }
  static V FromJson(const nlohmann::json& json) {
    if (!json.is_number_integer()) RaiseWrongValue(TypeName(), json);
    if (json.is_number_unsigned()) {
      const auto value = json.get<std::uint64_t>();
      if (!std::in_range<V>(value)) RaiseOutOfRange(TypeName(), json);
      return static_cast<V>(value);
    }
    const auto value = json.get<std::int64_t>();
    if (!std::in_range<V>(value)) RaiseOutOfRange(TypeName(), json);
    return static_cast<V>(value);
  }
};

// JSON has no NaN or infinities: they are stored as the strings "NaN",
// "Infinity" and "-Infinity".
template <std::floating_point V>
struct TValueTraits<V> {
  static constexpr TPropertyKind Kind = pkFloat;
  static std::string TypeName() { return sizeof(V) == sizeof(float) ? "float" : "double"; }
  static nlohmann::json ToJson(V value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    return value;
  }
  static V FromJson(const nlohmann::json& json) {
    if (json.is_string()) {
      const auto& text = json.get_ref<const std::string&>();
      if (text == "NaN") return std::numeric_limits<V>::quiet_NaN();
      if (text == "Infinity") return std::numeric_limits<V>::infinity();
      if (text == "-Infinity") return -std::numeric_limits<V>::infinity();
    }
    if (!json.is_number()) RaiseWrongValue(TypeName(), json);
    const auto value = json.get<double>();
    if (std::abs(value) > double(std::numeric_limits<V>::max())) RaiseOutOfRange(TypeName(), json);
    return static_cast<V>(value);
  }
};

template <>
struct TValueTraits<std::string> {
  static constexpr TPropertyKind Kind = pkString;
  static std::string TypeName() { return "string"; }
  static nlohmann::json ToJson(const std::string& value) { return value; }
  static std::string FromJson(const nlohmann::json& json) {
    if (!json.is_string()) RaiseWrongValue(TypeName(), json);
    return json.get<std::string>();
  }
};

template <NamedEnum E>
struct TValueTraits<E> {
  static constexpr TPropertyKind Kind = pkEnumeration;
  static std::string TypeName() { return std::string(TEnumNames<E>::TypeName); }
  static nlohmann::json ToJson(E value) {
    const std::string_view name = EnumValueName(value);
    if (name.empty()) RaiseUnnamedValue(TypeName(), static_cast<long long>(value));
    return std::string(name);
  }
  static E FromJson(const nlohmann::json& json) {
    if (!json.is_string()) RaiseWrongValue(TypeName() + " value name", json);
    const auto& name = json.get_ref<const std::string&>();
    if (auto value = EnumValueFromName<E>(name)) return *value;
    RaiseUnknownValueName(TypeName(), name);
  }
};

// A set is stored as the names of its members, in the order of the
// enumeration's name table.
template <NamedEnum E>
struct TValueTraits<TSet<E>> {
  static constexpr TPropertyKind Kind = pkSet;
  static std::string TypeName() { return "set of " + TValueTraits<E>::TypeName(); }
  static nlohmann::json ToJson(TSet<E> value) {
    nlohmann::json names = nlohmann::json::array();
    TSet<E> named;
    for (const auto& entry : TEnumNames<E>::Values) {
      if (value.Contains(entry.Value)) names.push_back(std::string(entry.Name));
      named.Include(entry.Value);
    }
    const std::uint64_t unnamed = (value - named).GetBits();
    if (unnamed != 0) {
      RaiseUnnamedValue(TValueTraits<E>::TypeName(), std::countr_zero(unnamed));
    }
    return names;
  }
  static TSet<E> FromJson(const nlohmann::json& json) {
    if (!json.is_array())
      RaiseWrongValue("array of " + TValueTraits<E>::TypeName() + " value names", json);
    TSet<E> set;
    for (const auto& item : json) set.Include(TValueTraits<E>::FromJson(item));
    return set;
  }
};

template <class V>
concept PropertyValue = requires {
  TValueTraits<V>::Kind;
};

// The declaring class and value type of accessor member-function pointers.
template <class M>
struct TGetterTraits;
template <class C, class R>
struct TGetterTraits<R (C::*)() const> {
  using Class = C;
  using Result = R;
};
template <class C, class R>
struct TGetterTraits<R (C::*)() const noexcept> : TGetterTraits<R (C::*)() const> {};

template <class M>
struct TSetterTraits;
template <class C, class A>
struct TSetterTraits<void (C::*)(A)> {
  using Class = C;
  using Arg = A;
};
template <class C, class A>
struct TSetterTraits<void (C::*)(A) noexcept> : TSetterTraits<void (C::*)(A)> {};

// The class the property belongs to: the more derived of the getter's and
// the setter's classes.
template <class G, class S>
using TAccessorClass = std::conditional_t<
    std::is_base_of_v<typename TGetterTraits<G>::Class, typename TSetterTraits<S>::Class>,
    typename TSetterTraits<S>::Class, typename TGetterTraits<G>::Class>;

template <class G, class S>
concept RelatedAccessors = std::is_base_of_v < typename TGetterTraits<G>::Class,
typename TSetterTraits<S>::Class > ||
    std::is_base_of_v<typename TSetterTraits<S>::Class, typename TGetterTraits<G>::Class>;

// A property with a typed value; reflection uses it to check the requested type.
template <class V>
class TTypedProperty : public TPropertyInfo {
 public:
  virtual V GetValue(const TPersistent& instance) const = 0;
  virtual void SetValue(TPersistent& instance, const V& value) const = 0;

 protected:
  using TPropertyInfo::TPropertyInfo;
};

template <class C, class V, class G, class S>
class TScalarProperty final : public TTypedProperty<V> {
 public:
  TScalarProperty(std::string name, G getter, S setter, std::optional<V> defaultValue)
      : TTypedProperty<V>(std::move(name), TValueTraits<V>::Kind),
        FGetter(getter),
        FSetter(setter),
        FDefault(std::move(defaultValue)) {}

  std::string GetTypeName() const override { return TValueTraits<V>::TypeName(); }
  V GetValue(const TPersistent& instance) const override {
    return (InstanceAs<C>(*this, instance).*FGetter)();
  }
  void SetValue(TPersistent& instance, const V& value) const override {
    (InstanceAs<C>(*this, instance).*FSetter)(value);
  }
  bool IsDefault(const TPersistent& instance) const override {
    return FDefault && GetValue(instance) == *FDefault;
  }
  nlohmann::json GetJson(const TPersistent& instance) const override {
    return TValueTraits<V>::ToJson(GetValue(instance));
  }
  void SetJson(TPersistent& instance, const nlohmann::json& value) const override {
    SetValue(instance, TValueTraits<V>::FromJson(value));
  }

 private:
  G FGetter;
  S FSetter;
  std::optional<V> FDefault;
};

template <class C, class G>
class TObjectProperty final : public TPropertyInfo {
 public:
  TObjectProperty(std::string name, TPropertyKind kind, G getter)
      : TPropertyInfo(std::move(name), kind), FGetter(getter) {}

  std::string GetTypeName() const override {
    using TObject = std::remove_pointer_t<typename TGetterTraits<G>::Result>;
    return std::string(TObject::ClassNameLiteral);
  }
  TPersistent* GetObject(const TPersistent& instance) const override {
    return (InstanceAs<C>(*this, instance).*FGetter)();
  }
  bool IsDefault(const TPersistent& instance) const override;

 private:
  G FGetter;
};

bool IsDefaultSubObject(TPropertyKind kind, const TPersistent* object);

template <class C, class G>
bool TObjectProperty<C, G>::IsDefault(const TPersistent& instance) const {
  return IsDefaultSubObject(this->GetKind(), GetObject(instance));
}

TComponent* AsComponent(TPersistent* object) noexcept;

template <class C, class D, class G, class S>
class TComponentProperty final : public TPropertyInfo {
 public:
  TComponentProperty(std::string name, G getter, S setter)
      : TPropertyInfo(std::move(name), pkComponent), FGetter(getter), FSetter(setter) {}

  std::string GetTypeName() const override { return std::string(D::ClassNameLiteral); }
  TComponent* GetReference(const TPersistent& instance) const override {
    return (InstanceAs<C>(*this, instance).*FGetter)();
  }
  void SetReference(TPersistent& instance, TComponent* value) const override {
    D* target = dynamic_cast<D*>(value);
    if (value && !target) RaiseWrongReference(value);
    (InstanceAs<C>(*this, instance).*FSetter)(target);
  }
  bool IsDefault(const TPersistent& instance) const override {
    return GetReference(instance) == nullptr;
  }

 private:
  [[noreturn]] void RaiseWrongReference(TComponent* value) const;

  G FGetter;
  S FSetter;
};

[[noreturn]] void RaiseWrongReference(const TPropertyInfo& info, TComponent* value);

template <class C, class D, class G, class S>
void TComponentProperty<C, D, G, S>::RaiseWrongReference(TComponent* value) const {
  detail::RaiseWrongReference(*this, value);
}

TPersistent* GetObjectOrReference(const TPropertyInfo& info, const TPersistent& instance);
void SetObjectOrReference(const TPropertyInfo& info, TPersistent& instance, TPersistent* value);

template <class V>
std::string RequestedTypeName() {
  if constexpr (PropertyValue<V>) {
    return TValueTraits<V>::TypeName();
  } else {
    return "another type";
  }
}

}  // namespace detail

template <detail::PropertyValue V, class G, class S>
requires detail::RelatedAccessors<G, S> TPropertyDecl
Property(std::string name, G getter, S setter, std::optional<V> defaultValue = std::nullopt) {
  using C = detail::TAccessorClass<G, S>;
  static_assert(std::is_convertible_v<typename detail::TGetterTraits<G>::Result, V>,
                "the getter does not return the property's type");
  static_assert(std::is_convertible_v<const V&, typename detail::TSetterTraits<S>::Arg>,
                "the setter does not take the property's type");
  return TPropertyDecl(std::make_shared<detail::TScalarProperty<C, V, G, S>>(
      std::move(name), getter, setter, std::move(defaultValue)));
}

template <class G>
TPropertyDecl ObjectProperty(std::string name, G getter) {
  using TObject = std::remove_pointer_t<typename detail::TGetterTraits<G>::Result>;
  static_assert(std::is_base_of_v<TPersistent, TObject>,
                "the getter must return a pointer to a TPersistent");
  using C = typename detail::TGetterTraits<G>::Class;
  return TPropertyDecl(
      std::make_shared<detail::TObjectProperty<C, G>>(std::move(name), pkObject, getter));
}

template <class G>
TPropertyDecl CollectionProperty(std::string name, G getter) {
  using TObject = std::remove_pointer_t<typename detail::TGetterTraits<G>::Result>;
  static_assert(std::is_base_of_v<TCollection, TObject>,
                "the getter must return a pointer to a TCollection");
  using C = typename detail::TGetterTraits<G>::Class;
  return TPropertyDecl(
      std::make_shared<detail::TObjectProperty<C, G>>(std::move(name), pkCollection, getter));
}

template <class G, class S>
requires detail::RelatedAccessors<G, S> TPropertyDecl ComponentProperty(std::string name, G getter,
                                                                        S setter) {
  using TResult = typename detail::TGetterTraits<G>::Result;
  using D = std::remove_pointer_t<TResult>;
  static_assert(
      std::is_pointer_v<TResult> && std::is_same_v<typename detail::TSetterTraits<S>::Arg, D*>,
      "the getter must return and the setter take a pointer to the component class");
  using C = detail::TAccessorClass<G, S>;
  return TPropertyDecl(
      std::make_shared<detail::TComponentProperty<C, D, G, S>>(std::move(name), getter, setter));
}

// The value of the published property `name` of `instance`, as a V: the
// declared value type for scalars, or a pointer to (a base of) the class of a
// sub-object, collection or referenced component. Raises EPropertyError when
// there is no such property or V does not fit it.
template <class V>
V GetProperty(const TPersistent& instance, std::string_view name) {
  const TPropertyInfo& info = GetPropertyInfo(instance, name);
  if constexpr (std::is_pointer_v<V>) {
    using TObject = std::remove_cv_t<std::remove_pointer_t<V>>;
    static_assert(std::is_base_of_v<TPersistent, TObject>, "V must point to a persistent class");
    TPersistent* object = detail::GetObjectOrReference(info, instance);
    if (!object) return nullptr;
    auto* result = dynamic_cast<TObject*>(object);
    if (!result) detail::RaiseWrongType(info, TObject::ClassNameLiteral);
    return result;
  } else {
    const auto* typed = dynamic_cast<const detail::TTypedProperty<V>*>(&info);
    if (!typed) detail::RaiseWrongType(info, detail::RequestedTypeName<V>());
    return typed->GetValue(instance);
  }
}

// Sets the published property `name` of `instance`. For a scalar, V must be
// the declared value type (a string literal sets a string property). For a
// component reference, `value` is the component or null. For a sub-object or
// collection, the owned object is assigned from `*value`. Raises
// EPropertyError when there is no such property or the value does not fit.
template <class V>
void SetProperty(TPersistent& instance, std::string_view name, const V& value) {
  const TPropertyInfo& info = GetPropertyInfo(instance, name);
  if constexpr (std::is_null_pointer_v<V>) {
    detail::SetObjectOrReference(info, instance, nullptr);
  } else if constexpr (std::is_pointer_v<V> && !std::is_convertible_v<V, std::string>) {
    detail::SetObjectOrReference(info, instance,
                                 const_cast<TPersistent*>(static_cast<const TPersistent*>(value)));
  } else if constexpr (std::is_convertible_v<V, std::string> && !std::is_same_v<V, std::string>) {
    SetProperty<std::string>(instance, name, std::string(value));
  } else {
    const auto* typed = dynamic_cast<const detail::TTypedProperty<V>*>(&info);
    if (!typed) detail::RaiseWrongType(info, detail::RequestedTypeName<V>());
    typed->SetValue(instance, value);
  }
}

}  // namespace qx
