// Framework-internal access to the parts of TComponent and TPersistent that
// only the form reader may drive: the loading state, `Loaded` and the older
// name hook. Not for applications.
#pragma once

#include "host/Component.h"

namespace qx::detail {

struct TComponentAccess {
  static void SetLoading(TComponent& component, bool loading) {
    if (loading) {
      component.FState.Include(csLoading);
    } else {
      component.FState.Exclude(csLoading);
    }
  }
  static void Loaded(TComponent& component) { component.Loaded(); }
};

struct TPersistentAccess {
  static bool ReadOlderProperty(TPersistent& object, const TStoredValue& value) {
    return object.ReadOlderProperty(value);
  }
};

}  // namespace qx::detail
