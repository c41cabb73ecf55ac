#include "packages/zenthic/ZTBasicDispatcher.h"

#include "dispatch/arith/ArithFallbacks.h"
#include "dispatch/color/ColorFallbacks.h"

namespace qx::zenthic {

QX_DEFINE_DISPATCHER_TABLE(QX_ZT_BASIC_DISPATCHER_ENTRIES, detail::InitializeBasicDispatcher)

}  // namespace qx::zenthic
