// Blocks of samples handed from a producer to a consumer thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "packages/sonquo/KRDSBufferQueue.h"

namespace qx::test {
namespace {

// Each block is a copy (the producer's memory goes at once), an empty one
// keeps its place, and the consumer thread gets them all in order.
TEST(KRDSBufferQueue, ConsumerThreadReceivesEveryBlockInOrder) {
  constexpr int Blocks = 5000;
  TKRDSBufferQueue queue;
  EXPECT_EQ(queue.Get(), nullptr);
  EXPECT_FALSE(queue.Add(0, 0, nullptr, 16));
  std::jthread producer([&] {
    for (int i = 0; i < Blocks; ++i) {
      const std::vector<std::uint8_t> data(static_cast<std::size_t>(i % 300),
                                           static_cast<std::uint8_t>(i));
      queue.Add(i, i + 1, data.data(), data.size());
    }
  });
  for (int next = 0; next < Blocks;) {
    auto block = queue.Get();
    if (!block) {
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(block->GetStart(), next);
    ASSERT_EQ(block->GetStop(), next + 1);
    ASSERT_EQ(block->GetSize(), static_cast<std::size_t>(next % 300));
    for (std::size_t i = 0; i < block->GetSize(); ++i) {
      ASSERT_EQ(block->GetData()[i], static_cast<std::uint8_t>(next));
    }
    queue.DestroyBlock(std::move(block));
    ++next;
  }
}

}  // namespace
}  // namespace qx::test
