// What the framework knows about one published property, and the table in
// which a class declares its properties.
//
// Classes do not build `TPropertyInfo` objects themselves: they list
// declarations made by the helpers of host/Properties.h (`Property<V>`,
// `ObjectProperty`, `CollectionProperty`, `ComponentProperty`) in the
// `TPropertyTable` of their class info (host/ClassInfo.h). Tools, form files
// and the reflection functions then work through this interface.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class TPersistent;
class TComponent;

// The kinds of published property.
enum TPropertyKind : std::uint8_t {
  pkBoolean,      // bool
  pkInteger,      // an integer type of 8 to 64 bits, signed or not
  pkFloat,        // float or double
  pkString,       // std::string
  pkEnumeration,  // an enumeration with value names (host/EnumNames.h)
  pkSet,          // TSet of such an enumeration (host/Set.h)
  pkObject,       // an owned TPersistent sub-object, reached through a read-only pointer
  pkComponent,    // a reference to another component, or null
  pkCollection,   // an owned TCollection of items (host/Collection.h)
};

class TPropertyInfo {
 public:
  virtual ~TPropertyInfo() = default;
  TPropertyInfo(const TPropertyInfo&) = delete;
  TPropertyInfo& operator=(const TPropertyInfo&) = delete;

  const std::string& GetName() const noexcept { return FName; }
  TPropertyKind GetKind() const noexcept { return FKind; }

  // The value type as messages show it: "bool", "uint16", "double",
  // "string", the enumeration's or class's name, "set of <enumeration>".
  virtual std::string GetTypeName() const = 0;

  // Whether `instance` writes this property to form files at all (its stored
  // flag or stored predicate; true unless the declaration said otherwise).
  bool IsStored(const TPersistent& instance) const;

  // Whether the current value is the default, so that a form file need not
  // store it. Scalars without a declared default are never at their default.
  // A sub-object is at its default when none of its own properties needs
  // storing, a collection when it is empty, a reference when it is null.
  virtual bool IsDefault(const TPersistent& instance) const = 0;

  // Scalar kinds (pkBoolean to pkSet): the value as a form file stores it,
  // and back. `SetJson` raises EPropertyError, naming the expected type, for
  // a value of the wrong type or out of range.
  virtual nlohmann::json GetJson(const TPersistent& instance) const;
  virtual void SetJson(TPersistent& instance, const nlohmann::json& value) const;

  // pkObject and pkCollection: the owned sub-object (null if there is none).
  virtual TPersistent* GetObject(const TPersistent& instance) const;

  // pkComponent: the referenced component, or null. `SetReference` raises
  // EPropertyError when the component is not of the property's class.
  virtual TComponent* GetReference(const TPersistent& instance) const;
  virtual void SetReference(TPersistent& instance, TComponent* value) const;

  // Every accessor raises EPropertyError when `instance` is not of the class
  // that declared the property, or when the accessor does not fit the kind.

 protected:
  TPropertyInfo(std::string name, TPropertyKind kind);
  [[noreturn]] void RaiseWrongKind(std::string_view accessor) const;

 private:
  friend class TPropertyDecl;

  std::string FName;
  TPropertyKind FKind;
  std::function<bool(const TPersistent&)> FStored;  // null: always stored
};

// One entry of a property table: what a helper of host/Properties.h returns.
// Chain `Stored` or `StoredWhen` to limit when the value goes to form files:
//
//   Property<std::string>("Caption", &T::GetCaption, &T::SetCaption).Stored(false)
//   Property<int>("Rate", &T::GetRate, &T::SetRate).StoredWhen(&T::IsRateStored)
class TPropertyDecl {
 public:
  explicit TPropertyDecl(std::shared_ptr<TPropertyInfo> info) : FInfo(std::move(info)) {}

  TPropertyDecl&& Stored(bool stored) && {
    if (stored) {
      FInfo->FStored = nullptr;
    } else {
      FInfo->FStored = [](const TPersistent&) { return false; };
    }
    return std::move(*this);
  }

  template <class C>
  TPropertyDecl&& StoredWhen(bool (C::*predicate)() const) && {
    FInfo->FStored = [predicate](const TPersistent& instance) {
      const C* object = dynamic_cast<const C*>(&instance);
      return object && (object->*predicate)();
    };
    return std::move(*this);
  }

  const std::shared_ptr<TPropertyInfo>& GetInfo() const noexcept { return FInfo; }

 private:
  std::shared_ptr<TPropertyInfo> FInfo;
};

// The properties a class declares itself, in declaration order. A name the
// parent class already publishes replaces the parent's declaration in place
// (a derived class changing a default declares the property again).
class TPropertyTable {
 public:
  TPropertyTable() = default;
  // Raises EPropertyError when two declarations have the same name.
  TPropertyTable(std::initializer_list<TPropertyDecl> declarations);

  const std::vector<std::shared_ptr<const TPropertyInfo>>& GetItems() const noexcept {
    return FItems;
  }

 private:
  std::vector<std::shared_ptr<const TPropertyInfo>> FItems;
};

}  // namespace qx
