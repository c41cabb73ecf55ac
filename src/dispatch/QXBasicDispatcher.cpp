#include "dispatch/QXBasicDispatcher.h"

#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"
#include "dispatch/filter/FilterFallbacks.h"

namespace qx {

QX_DEFINE_DISPATCHER_TABLE(QX_BASIC_DISPATCHER_ENTRIES, detail::InitializeBasicDispatcher)

}  // namespace qx
