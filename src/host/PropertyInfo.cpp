#include "host/PropertyInfo.h"

#include "host/Exceptions.h"
#include "host/Identifiers.h"

namespace qx {

TPropertyInfo::TPropertyInfo(std::string name, TPropertyKind kind)
    : FName(std::move(name)), FKind(kind) {}

bool TPropertyInfo::IsStored(const TPersistent& instance) const {
  return !FStored || FStored(instance);
}

void TPropertyInfo::RaiseWrongKind(std::string_view accessor) const {
  throw EPropertyError("property " + FName + " (" + GetTypeName() + ") has no " +
                       std::string(accessor));
}

nlohmann::json TPropertyInfo::GetJson(const TPersistent&) const { RaiseWrongKind("scalar value"); }

void TPropertyInfo::SetJson(TPersistent&, const nlohmann::json&) const {
  RaiseWrongKind("scalar value");
}

TPersistent* TPropertyInfo::GetObject(const TPersistent&) const { RaiseWrongKind("sub-object"); }

TComponent* TPropertyInfo::GetReference(const TPersistent&) const {
  RaiseWrongKind("component reference");
}

void TPropertyInfo::SetReference(TPersistent&, TComponent*) const {
  RaiseWrongKind("component reference");
}

TPropertyTable::TPropertyTable(std::initializer_list<TPropertyDecl> declarations) {
  for (const TPropertyDecl& declaration : declarations) {
    const std::string& name = declaration.GetInfo()->GetName();
    for (const auto& existing : FItems) {
      if (SameText(existing->GetName(), name)) {
        throw EPropertyError("property " + name + " is declared twice");
      }
    }
    FItems.push_back(declaration.GetInfo());
  }
}

}  // namespace qx
