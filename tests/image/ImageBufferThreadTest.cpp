// Frames sharing one storage on several threads: holders that only read see
// the storage unchanged while another holder writes, converts and resizes
// its own frame; copies are made and dropped concurrently.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "PixelModel.h"
#include "image/QXImageBuffer.h"

namespace qx::test {
namespace {

constexpr int kReaders = 3;
constexpr int kRounds = 200;

TEST(ImageBufferThreads, ReadersOfASharedStorageSeeItUnchangedWhileAnotherHolderWrites) {
  constexpr int width = 33, height = 17;
  const std::vector<std::uint8_t> bytes = RandomFrame(vfRGB24, width, height, 1);
  const auto original = MakeRef<TQXImageBuffer>(bytes.data(), width, height, vfRGB24);
  const std::vector<TRGB> colours = Decode(vfRGB24, bytes.data(), width, height);
  auto writer = MakeRef<TQXImageBuffer>(*original);

  std::atomic<bool> writing{true};
  std::atomic<int> mismatches{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < kReaders; ++r) {
    readers.emplace_back([&, r] {
      int round = 0;
      while (writing.load() || round < kRounds) {
        ++round;
        auto mine = MakeRef<TQXImageBuffer>(*original);
        auto passed = mine->MakeCopy();
        const std::uint32_t x = (round * 7 + r) % width, y = (round * 3) % height;
        if (std::memcmp(mine->Read(), bytes.data(), bytes.size()) != 0 ||
            mine->GetPixel(x, y) != ToColor(colours[y * width + x]) ||
            mine->GetRedChannel()->GetGrayScale(x, y) != colours[y * width + x].r) {
          mismatches.fetch_add(1);
        }
      }
    });
  }
  for (int round = 0; round < kRounds; ++round) {
    writer->SetPixel(round % width, 0, QXColorRGB(1, 2, 3));
    std::memset(writer->Modify(), round, writer->GetByteSize());
    writer->SetFormat(vfYUY2);
    writer->SetImageSize(width + round % 3, height);
    writer->Assign(*original);  // shared again: the next write unshares
  }
  writing = false;
  for (auto& reader : readers) reader.join();

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(0, std::memcmp(original->Read(), bytes.data(), bytes.size()));
  EXPECT_EQ(original->GetBuffer().GetRefCount(), 2);  // `original` and `writer`
}

TEST(ImageBufferThreads, HoldersConvertTheirOwnFramesAtOnce) {
  constexpr int width = 40, height = 30;
  const std::vector<std::uint8_t> bytes = RandomFrame(vfUYVY, width, height, 2);
  const auto shared = MakeRef<TQXImageBuffer>(bytes.data(), width, height, vfUYVY);
  const std::vector<std::uint8_t> expected =
      Encode(vfRGBA32, Decode(vfUYVY, bytes.data(), width, height), width, height);

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kReaders + 1; ++t) {
    threads.emplace_back([&] {
      for (int round = 0; round < kRounds / 4; ++round) {
        auto mine = MakeRef<TQXImageBuffer>(*shared);
        mine->SetFormat(vfRGBA32);
        if (std::memcmp(mine->Read(), expected.data(), expected.size()) != 0) {
          mismatches.fetch_add(1);
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(shared->GetFormat(), vfUYVY);
  EXPECT_EQ(shared->GetBuffer().GetRefCount(), 1);
}

}  // namespace
}  // namespace qx::test
