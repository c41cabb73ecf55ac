// The memory of every data buffer: blocks aligned to a cache line.
//
// `ZTBufferAllocate` returns uninitialised memory aligned to
// `ZTBufferAlignment` (64 bytes, enough for any vector instruction set), padded
// to a whole number of 64-byte lines, so a vector loop may read or write the
// last line of a block in full. Return a block with `ZTBufferDeallocate`,
// giving the size it was allocated with.
//
// `TZTBufferBlock` owns one such block and returns it when destroyed; storage
// classes keep their bytes in one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

inline constexpr std::size_t ZTBufferAlignment = 64;

// The number of bytes a block of `size` bytes really spans: `size` rounded up
// to a multiple of ZTBufferAlignment.
constexpr std::size_t ZTBufferPaddedSize(std::size_t size) noexcept {
  return (size + ZTBufferAlignment - 1) / ZTBufferAlignment * ZTBufferAlignment;
}

// A block of `size` bytes (null for 0), aligned and padded as described above,
// not initialised. Raises std::bad_alloc when memory runs out.
void* ZTBufferAllocate(std::size_t size);

// Returns a block of ZTBufferAllocate; `size` is the size it was requested
// with. A null block is ignored.
void ZTBufferDeallocate(void* block, std::size_t size) noexcept;

// Owns one block of ZTBufferAllocate. Movable, not copyable.
class TZTBufferBlock {
 public:
  TZTBufferBlock() noexcept = default;
  // A block of `size` uninitialised bytes.
  explicit TZTBufferBlock(std::size_t size);
  TZTBufferBlock(TZTBufferBlock&& other) noexcept;
  TZTBufferBlock& operator=(TZTBufferBlock&& other) noexcept;
  ~TZTBufferBlock();

  std::uint8_t* GetData() const noexcept { return FData; }
  std::size_t GetSize() const noexcept { return FSize; }

 private:
  std::uint8_t* FData = nullptr;
  std::size_t FSize = 0;
};

}  // namespace qx
