#include "host/FormReferences.h"

#include <vector>

#include "host/Identifiers.h"

namespace qx::detail {

TComponent* ResolveReference(const TComponent& root, std::string_view reference) {
  std::size_t dot = reference.find('.');
  const std::string_view first = reference.substr(0, dot);
  TComponent* component = root.FindComponent(first);
  if (!component && SameText(root.GetName(), first)) component = const_cast<TComponent*>(&root);
  if (!component) component = FindGlobalComponent(first);
  while (component && dot != std::string_view::npos) {
    reference.remove_prefix(dot + 1);
    dot = reference.find('.');
    component = component->FindComponent(reference.substr(0, dot));
  }
  return component;
}

std::optional<std::string> ReferenceName(const TComponent& root, const TComponent& target) {
  // Names from the target up to a component owned by the root, to the root
  // itself, or to a component without owner.
  std::vector<const std::string*> names;
  const TComponent* component = &target;
  while (true) {
    if (component->GetName().empty()) return std::nullopt;
    names.push_back(&component->GetName());
    const TComponent* owner = component->GetOwner();
    if (component == &root || owner == &root || !owner) break;
    component = owner;
  }
  std::string reference;
  for (auto name = names.rbegin(); name != names.rend(); ++name) {
    if (!reference.empty()) reference += '.';
    reference += **name;
  }
  if (ResolveReference(root, reference) != &target) return std::nullopt;
  return reference;
}

}  // namespace qx::detail
