// Frames sharing one storage on several threads: holders that only read see
// the storage unchanged while another holder writes, converts and resizes
// its own frame; copies are made and dropped, and frames converted, at once.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "PixelModel.h"

namespace qx::test {
namespace {

constexpr int kThreads = 3;
constexpr int kRounds = 200;

TEST(ImageBufferThreads, ReadersOfASharedStorageSeeItUnchangedWhileAnotherHolderWrites) {
  constexpr int width = 33, height = 17;
  const std::vector<std::uint8_t> bytes = RandomFrame(vfUYVY, width, height, 1);
  const auto original = MakeRef<TQXImageBuffer>(bytes.data(), width, height, vfUYVY);
  const std::vector<std::uint8_t> rgba =
      Encode(vfRGBA32, Decode(vfUYVY, bytes.data(), width, height), width, height);
  auto writer = MakeRef<TQXImageBuffer>(*original);

  std::atomic<bool> writing{true};
  std::atomic<int> mismatches{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < kThreads; ++r) {
    readers.emplace_back([&] {
      for (int round = 0; writing.load() || round < kRounds; ++round) {
        auto mine = RefCast<TQXImageBuffer>(original->MakeCopy());
        const bool same = std::memcmp(mine->Read(), bytes.data(), bytes.size()) == 0;
        // Each reader converts its own frame, as the others do theirs.
        mine->SetFormat(vfRGBA32);
        if (!same || std::memcmp(mine->Read(), rgba.data(), rgba.size()) != 0) {
          mismatches.fetch_add(1);
        }
      }
    });
  }
  for (int round = 0; round < kRounds; ++round) {
    writer->SetPixel(round % width, 0, QXColorRGB(1, 2, 3));
    std::memset(writer->Modify(), round, writer->GetByteSize());
    writer->SetImageSize(width + round % 3, height);
    writer->Assign(*original);  // shared again: the next write unshares
  }
  writing = false;
  for (auto& reader : readers) reader.join();

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(0, std::memcmp(original->Read(), bytes.data(), bytes.size()));
  EXPECT_EQ(original->GetBuffer().GetRefCount(), 2);  // `original` and `writer`
}

}  // namespace
}  // namespace qx::test
