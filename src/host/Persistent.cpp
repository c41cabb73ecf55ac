#include "host/Persistent.h"

#include "host/Exceptions.h"

namespace qx {

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info(std::string(ClassNameLiteral), nullptr, {});
  return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& destination) const {
  throw EAssignError(ClassName(), destination.ClassName());
}

bool TPersistent::ReadOlderProperty(const TStoredValue&) { return false; }

}  // namespace qx
