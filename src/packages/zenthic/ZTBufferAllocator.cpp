#include "packages/zenthic/ZTBufferAllocator.h"

#include <new>
#include <utility>

namespace qx {

void* ZTBufferAllocate(std::size_t size) {
  if (size == 0) return nullptr;
  return ::operator new (ZTBufferPaddedSize(size), std::align_val_t{ZTBufferAlignment});
}

void ZTBufferDeallocate(void* block, std::size_t size) noexcept {
  if (!block) return;
  ::operator delete (block, ZTBufferPaddedSize(size), std::align_val_t{ZTBufferAlignment});
}

TZTBufferBlock::TZTBufferBlock(std::size_t size)
    : FData(static_cast<std::uint8_t*>(ZTBufferAllocate(size))), FSize(size) {}

TZTBufferBlock::TZTBufferBlock(TZTBufferBlock&& other) noexcept
    : FData(std::exchange(other.FData, nullptr)), FSize(std::exchange(other.FSize, 0)) {}

TZTBufferBlock& TZTBufferBlock::operator=(TZTBufferBlock&& other) noexcept {
  if (this != &other) {
    ZTBufferDeallocate(FData, FSize);
    FData = std::exchange(other.FData, nullptr);
    FSize = std::exchange(other.FSize, 0);
  }
  return *this;
}

TZTBufferBlock::~TZTBufferBlock() { ZTBufferDeallocate(FData, FSize); }

}  // namespace qx
