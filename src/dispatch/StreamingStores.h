// When a kernel writes its destination with non-temporal stores.
#pragma once

#include <cstddef>

namespace qx::fallback::detail {

// Calls that move at least this many bytes may write their destination with
// non-temporal stores: a frame that size has left the core's caches by the
// time anyone reads it, and streaming it saves reading every destination line
// from memory before writing it. Each kernel family states which of its
// calls this applies to (a destination read back first, for one, never is).
inline constexpr std::size_t kStreamingBytes = std::size_t{4} << 20;

}  // namespace qx::fallback::detail
