// When a kernel writes its destination with non-temporal stores.
#pragma once

#include <cstddef>

namespace qx::fallback::detail {

// Frames of at least this many bytes may be written with non-temporal stores:
// a frame that size has left the core's caches by the time anyone reads it,
// and streaming it saves reading every destination line from memory before
// writing it. Each kernel family states what it measures against this (the
// byte kernels their destination, gray the bytes it reads and writes, as its
// destination is a third or a quarter of them) and which calls never stream
// (a destination read back first, for one).
inline constexpr std::size_t kStreamingBytes = std::size_t{4} << 20;

}  // namespace qx::fallback::detail
