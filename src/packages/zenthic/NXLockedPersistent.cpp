#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {

const TClassInfo& TNXLockedPersistent::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TNXLockedPersistent>();
  return info;
}

const TClassInfo& TNXLockedPersistentNotify::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TNXLockedPersistentNotify>();
  return info;
}

}  // namespace qx
