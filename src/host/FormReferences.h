// How form files name referenced components (internal to the form reader and
// writer): a component of the form by its name, the form itself by its name,
// and anything else by a dotted path from a named component without owner.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/Component.h"

namespace qx::detail {

// The component that `reference` names for a form whose root is `root`, or null.
TComponent* ResolveReference(const TComponent& root, std::string_view reference);

// The text that names `target` from the form of `root`, or nothing when
// `target` cannot be named (an unnamed component on the way, no named
// top-level owner, or a name that would find another component).
std::optional<std::string> ReferenceName(const TComponent& root, const TComponent& target);

}  // namespace qx::detail
