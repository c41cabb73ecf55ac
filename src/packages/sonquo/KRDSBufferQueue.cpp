#include "packages/sonquo/KRDSBufferQueue.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qx {

bool TKRDSBufferQueue::Add(std::int64_t start, std::int64_t stop, const void* data,
                           std::size_t size) {
  if (!data && size > 0) return false;
  TKRDSBufferBlockPtr block = TakeBlock(size);
  if (size > 0) std::memcpy(block->FMemory.GetData(), data, size);
  block->FSize = size;
  block->FStart = start;
  block->FStop = stop;
  std::lock_guard lock(FMutex);
  FBlocks.push_back(std::move(block));
  return true;
}

TKRDSBufferBlockPtr TKRDSBufferQueue::TakeBlock(std::size_t size) {
  {
    std::lock_guard lock(FMutex);
    const auto fits = std::find_if(FSpares.begin(), FSpares.end(), [size](const auto& spare) {
      return spare->FMemory.GetSize() >= size;
    });
    if (fits != FSpares.end()) {
      TKRDSBufferBlockPtr block = std::move(*fits);
      FSpares.erase(fits);
      return block;
    }
  }
  auto block = std::make_unique<TKRDSBufferBlock>();
  block->FMemory = TZTBufferBlock(size);
  return block;
}

TKRDSBufferBlockPtr TKRDSBufferQueue::Get() {
  std::lock_guard lock(FMutex);
  if (FBlocks.empty()) return nullptr;
  TKRDSBufferBlockPtr block = std::move(FBlocks.front());
  FBlocks.pop_front();
  return block;
}

bool TKRDSBufferQueue::HasData() const { return GetCount() > 0; }

std::size_t TKRDSBufferQueue::GetCount() const {
  std::lock_guard lock(FMutex);
  return FBlocks.size();
}

void TKRDSBufferQueue::Clear() {
  std::vector<TKRDSBufferBlockPtr> removed;
  std::lock_guard lock(FMutex);
  removed.reserve(FBlocks.size());
  for (auto& block : FBlocks) removed.push_back(std::move(block));
  FBlocks.clear();
  KeepSpares(removed);
}

void TKRDSBufferQueue::DestroyBlock(TKRDSBufferBlockPtr block) {
  if (!block) return;
  std::vector<TKRDSBufferBlockPtr> returned;
  returned.push_back(std::move(block));
  std::lock_guard lock(FMutex);
  KeepSpares(returned);
}

void TKRDSBufferQueue::KeepSpares(std::vector<TKRDSBufferBlockPtr>& blocks) {
  for (auto& block : blocks) {
    if (FSpares.size() == SpareBlocks) break;
    if (block->FMemory.GetSize() > 0) FSpares.push_back(std::move(block));
  }
}

}  // namespace qx
