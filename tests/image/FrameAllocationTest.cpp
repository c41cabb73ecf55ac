// Passing a frame on copies no pixel: counted as the 64-byte aligned blocks
// the buffer allocator takes from the replaced global allocation functions.
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
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

namespace qx {
namespace {

// Pixel blocks allocated while `work` runs.
template <class Work>
int PixelBlocksDuring(Work work) {
  const int before = gPixelBlocks.load();
  work();
  return gPixelBlocks.load() - before;
}

TEST(FrameAllocation, PassingAFrameOnCopiesNoPixelsAndWritingCopiesOnce) {
  TRefPtr<TQXImageBuffer> frame;
  EXPECT_EQ(PixelBlocksDuring([&] { frame = MakeRef<TQXImageBuffer>(1920, 1080, vfYUY2); }), 1);
  auto receiver = MakeRef<TQXImageBuffer>(2, 2, vfRGB24);
  EXPECT_EQ(PixelBlocksDuring([&] {
              TRefPtr<IZTDataBuffer> asData = frame;
              auto copy = MakeRef<TQXImageBuffer>(*frame);
              auto fromInterface = MakeRef<TQXImageBuffer>(*asData);
              auto made = frame->MakeCopy();
              receiver->Assign(*asData);
              EXPECT_EQ(fromInterface->Read(), frame->Read());
              frame->SetFormat(vfYUY2);
            }),
            0);

  // Writing while shared copies once; the single owner then writes in place,
  // and a conversion allocates only its target, never a temporary frame.
  EXPECT_EQ(PixelBlocksDuring([&] { frame->Write(); }), 1);
  receiver = nullptr;
  EXPECT_EQ(PixelBlocksDuring([&] {
              frame->Modify();
              frame->SetPixel(0, 0, 0);  // converts to RGB24 ...
            }),
            1);  // ... into one new block, then writes in place
  EXPECT_EQ(PixelBlocksDuring([&] { frame->SetFormat(vfRGB); }), 0);  // the same layout
  for (TQXVideoFormat to : {vfRGB565, vfUYVY, vfRGBA32, vfGrayScale, vfYUY2}) {
    EXPECT_EQ(PixelBlocksDuring([&] { frame->SetFormat(to); }), 1) << int(to);
  }
}

}  // namespace
}  // namespace qx
