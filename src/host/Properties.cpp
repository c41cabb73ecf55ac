#include "host/Properties.h"

#include "host/Component.h"

namespace qx {

const TPropertyInfo& GetPropertyInfo(const TPersistent& instance, std::string_view name) {
  if (const TPropertyInfo* info = instance.ClassInfo().FindProperty(name)) return *info;
  throw EPropertyError(instance.ClassName() + " has no property " + std::string(name));
}

bool HasStoredValues(const TPersistent& instance) {
  for (const TPropertyInfo* info : instance.ClassInfo().GetProperties()) {
    if (info->IsStored(instance) && !info->IsDefault(instance)) return true;
  }
  return false;
}

namespace detail {

std::string DescribeJson(const nlohmann::json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::object:
      return "an object";
    case nlohmann::json::value_t::array:
      return "an array";
    default: {
      std::string text = value.dump();
      constexpr std::size_t limit = 60;
      return text.size() > limit ? text.substr(0, limit) + "..." : text;
    }
  }
}

void RaiseForeignInstance(const TPropertyInfo& info, const TPersistent& instance) {
  throw EPropertyError("property " + info.GetName() + " does not belong to class " +
                       instance.ClassName());
}

void RaiseWrongValue(std::string_view expected, const nlohmann::json& found) {
  throw EPropertyError("expected " + std::string(expected) + ", found " + DescribeJson(found));
}

void RaiseOutOfRange(std::string_view type, const nlohmann::json& found) {
  throw EPropertyError(DescribeJson(found) + " is out of the range of " + std::string(type));
}

void RaiseWrongType(const TPropertyInfo& info, std::string_view requested) {
  throw EPropertyError("property " + info.GetName() + " is of type " + info.GetTypeName() +
                       ", not " + std::string(requested));
}

void RaiseUnnamedValue(std::string_view enumeration, long long ordinal) {
  throw EPropertyError("value " + std::to_string(ordinal) + " of " + std::string(enumeration) +
                       " has no name");
}

void RaiseUnknownValueName(std::string_view enumeration, std::string_view name) {
  throw EPropertyError(std::string(enumeration) + " has no value named \"" + std::string(name) +
                       "\"");
}

void RaiseWrongReference(const TPropertyInfo& info, TComponent* value) {
  const std::string shown = value->GetName().empty() ? "an unnamed component" : value->GetName();
  throw EPropertyError(shown + " (" + value->ClassName() + ") is not a " + info.GetTypeName() +
                       " as property " + info.GetName() + " requires");
}

bool IsDefaultSubObject(TPropertyKind kind, const TPersistent* object) {
  if (!object) return true;
  if (kind == pkCollection) return static_cast<const TCollection*>(object)->GetCount() == 0;
  return !HasStoredValues(*object);
}

TComponent* AsComponent(TPersistent* object) noexcept { return dynamic_cast<TComponent*>(object); }

TPersistent* GetObjectOrReference(const TPropertyInfo& info, const TPersistent& instance) {
  if (info.GetKind() == pkComponent) return info.GetReference(instance);
  return info.GetObject(instance);
}

void SetObjectOrReference(const TPropertyInfo& info, TPersistent& instance, TPersistent* value) {
  switch (info.GetKind()) {
    case pkComponent: {
      TComponent* component = AsComponent(value);
      if (value && !component) RaiseWrongType(info, value->ClassName());
      info.SetReference(instance, component);
      return;
    }
    case pkObject:
    case pkCollection: {
      if (!value) throw EPropertyError("property " + info.GetName() + " cannot be set to null");
      TPersistent* object = info.GetObject(instance);
      if (!object) throw EPropertyError("property " + info.GetName() + " has no object");
      object->Assign(*value);
      return;
    }
    default:
      RaiseWrongType(info, value ? value->ClassName() : "a null pointer");
  }
}

}  // namespace detail
}  // namespace qx
