#include "dispatch/QXColorTwistDispatcher.h"

#include "dispatch/color/ColorFallbacks.h"

namespace qx {

QX_DEFINE_DISPATCHER_TABLE(QX_COLOR_TWIST_DISPATCHER_ENTRIES,
                           detail::InitializeColorTwistDispatcher)

}  // namespace qx
