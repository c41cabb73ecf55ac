#include "packages/sonquo/SNBasicDispatcher.h"

#include "dispatch/arith/ArithFallbacks.h"

namespace qx::sonquo {

QX_DEFINE_DISPATCHER_TABLE(QX_SN_BASIC_DISPATCHER_ENTRIES, detail::InitializeBasicDispatcher)

}  // namespace qx::sonquo
