// Passing a frame on copies no pixel: counted by the pixel blocks the signal
// package's allocator hands out (64-byte aligned allocations, which this
// program counts by replacing the global aligned allocation functions).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "image/QXImageBuffer.h"
#include "packages/zenthic/ZTBufferAllocator.h"

namespace {

std::atomic<int> gPixelBlocks{0};

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  if (align == qx::ZTBufferAlignment) gPixelBlocks.fetch_add(1, std::memory_order_relaxed);
  void* block = std::aligned_alloc(align, (size + align - 1) / align * align);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

namespace qx {
namespace {

// Pixel blocks allocated while `work` runs.
template <class Work>
int PixelBlocksDuring(Work work) {
  const int before = gPixelBlocks.load();
  work();
  return gPixelBlocks.load() - before;
}

TEST(FrameAllocation, PassingAFrameOnCopiesNoPixels) {
  TRefPtr<TQXImageBuffer> frame;
  EXPECT_EQ(PixelBlocksDuring([&] { frame = MakeRef<TQXImageBuffer>(1920, 1080, vfYUY2); }), 1);
  auto receiver = MakeRef<TQXImageBuffer>(2, 2, vfRGB24);

  EXPECT_EQ(PixelBlocksDuring([&] {
              TRefPtr<IQXImageBuffer> passed = frame;
              TRefPtr<IZTDataBuffer> asData = passed;
              auto copy = MakeRef<TQXImageBuffer>(*frame);
              auto fromInterface = MakeRef<TQXImageBuffer>(*asData);
              auto made = frame->MakeCopy();
              receiver->Assign(*passed);
              EXPECT_EQ(copy->Read(), frame->Read());
              EXPECT_EQ(fromInterface->Read(), frame->Read());
              frame->GetPixel(7, 7);
              frame->SetFormat(vfYUY2);
            }),
            0);

  // Writing while shared copies once; the single owner then writes in place.
  EXPECT_EQ(PixelBlocksDuring([&] { frame->Write(); }), 1);
  receiver = nullptr;
  EXPECT_EQ(PixelBlocksDuring([&] {
              frame->Write();
              frame->Modify();
              frame->SetPixel(0, 0, 0);  // converts to RGB24 ...
            }),
            1);  // ... into one new block, then writes in place
  EXPECT_EQ(PixelBlocksDuring([&] {
              frame->SetPixel(1, 0, 0);
              frame->SetFormat(vfRGB);  // the same layout: no conversion
            }),
            0);
}

TEST(FrameAllocation, AConversionAllocatesOnlyItsTarget) {
  for (TQXVideoFormat from : {vfUYVY, vfRGBA32, vfGrayScale}) {
    for (TQXVideoFormat to : {vfYUY2, vfRGB565, vfGrayScale, vfRGBA32}) {
      if (from == to) continue;
      auto frame = MakeRef<TQXImageBuffer>(640, 480, from);
      std::fill_n(frame->Write(), frame->GetByteSize(), std::uint8_t{50});
      EXPECT_EQ(PixelBlocksDuring([&] { frame->SetFormat(to); }), 1);
    }
  }
}

}  // namespace
}  // namespace qx
