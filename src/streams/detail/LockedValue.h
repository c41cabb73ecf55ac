// Reading and storing the fields of a locked persistent under its owner's
// lock, for the accessors that PSetProp does not cover.
#pragma once

#include <utility>

#include "packages/flowbus/FBLock.h"

namespace qx::detail {

// A copy of `field` taken under `lock`. When the entry is refused (the owner
// is being destroyed, or waiting would close a wait cycle between two
// components) the field is read anyway: a getter always answers.
template <class T>
T ReadLocked(IFBLock* lock, const T& field) {
  TFBLockGuard guard(lock);
  return field;
}

// Stores `value` into `field` under `lock`, without a change signal; nothing
// when the lock refuses. Returns whether the field changed.
template <class T, class V>
bool StoreLocked(IFBLock* lock, T& field, V&& value) {
  TFBLockGuard guard(lock);
  if (!guard || field == value) return false;
  field = std::forward<V>(value);
  return true;
}

}  // namespace qx::detail
