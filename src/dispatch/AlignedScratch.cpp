#include "dispatch/AlignedScratch.h"

#include <cstdlib>
#include <cstring>

namespace qx {

// The raw allocation is the request plus room to align its start up to 32
// bytes and to keep the raw pointer just below the aligned start, where the
// destructor finds it.
AlignedScratch::AlignedScratch(std::ptrdiff_t bytes) noexcept {
  if (bytes <= 0) return;
  constexpr std::size_t kHeader = sizeof(void*);
  void* raw = std::malloc(static_cast<std::size_t>(bytes) + kAlignment + kHeader);
  if (raw == nullptr) return;
  const auto rawAddress = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (rawAddress + kHeader + kAlignment - 1) & ~(kAlignment - 1);
  fAligned = reinterpret_cast<std::uint8_t*>(aligned);
  std::memcpy(fAligned - kHeader, &raw, kHeader);
}

AlignedScratch::~AlignedScratch() {
  if (fAligned == nullptr) return;
  void* raw = nullptr;
  std::memcpy(&raw, fAligned - sizeof(void*), sizeof(void*));
  std::free(raw);
}

}  // namespace qx
