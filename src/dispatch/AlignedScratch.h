// Scratch memory for kernels that need a working row: a block whose start is
// aligned to 32 bytes, released when the object goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

class AlignedScratch {
 public:
  // Requests `bytes` bytes; zero or fewer bytes, or an allocation failure,
  // yields an empty block (`Data()` is null). Never throws.
  explicit AlignedScratch(std::ptrdiff_t bytes) noexcept;
  ~AlignedScratch();

  AlignedScratch(const AlignedScratch&) = delete;
  AlignedScratch& operator=(const AlignedScratch&) = delete;

  // The 32-byte aligned start of the block, or null when there is none.
  std::uint8_t* Data() const noexcept { return fAligned; }
  explicit operator bool() const noexcept { return fAligned != nullptr; }

  static constexpr std::size_t kAlignment = 32;

 private:
  std::uint8_t* fAligned = nullptr;
};

}  // namespace qx
