// Blocks of samples handed from a producer to a consumer thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "packages/sonquo/KRDSBufferQueue.h"

namespace qx::test {
namespace {

template <class Block>
std::string TextOf(const Block& block) {
  return {reinterpret_cast<const char*>(block->GetData()), block->GetSize()};
}

TEST(KRDSBufferQueue, BlocksAreCopiesAndDestroyedOnesAreReusedForBlocksThatFit) {
  TKRDSBufferQueue queue;
  EXPECT_EQ(queue.Get(), nullptr);
  char sample[] = "a longer first block";
  ASSERT_TRUE(queue.Add(100, 200, sample, 20));
  std::memcpy(sample, "XXXXX", 5);  // the producer reuses its memory at once
  ASSERT_TRUE(queue.Add(300, 400, nullptr, 0));
  EXPECT_FALSE(queue.Add(0, 0, nullptr, 16));

  auto first = queue.Get();
  EXPECT_EQ(first->GetStop(), 200);
  EXPECT_EQ(TextOf(first), "a longer first block");
  EXPECT_EQ(queue.Get()->GetData(), nullptr);  // an empty block keeps its place
  EXPECT_FALSE(queue.HasData());

  const std::uint8_t* memory = first->GetData();
  queue.DestroyBlock(std::move(first));
  queue.Add(1, 1, "small", 5);
  auto reused = queue.Get();
  EXPECT_EQ(reused->GetData(), memory);
  EXPECT_EQ(TextOf(reused), "small");
}

TEST(KRDSBufferQueue, ConsumerThreadReceivesEveryBlockInOrder) {
  constexpr int Blocks = 5000;
  TKRDSBufferQueue queue;
  std::thread producer([&] {
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
    ASSERT_EQ(block->GetSize(), static_cast<std::size_t>(next % 300));
    for (std::size_t i = 0; i < block->GetSize(); ++i) {
      ASSERT_EQ(block->GetData()[i], static_cast<std::uint8_t>(next));
    }
    queue.DestroyBlock(std::move(block));
    ++next;
  }
  producer.join();
}

}  // namespace
}  // namespace qx::test
