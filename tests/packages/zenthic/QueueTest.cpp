#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include "TestStorage.h"
#include "packages/zenthic/ZTBufferStampList.h"

namespace qx::test {
namespace {

TEST(ZTBufferStampList, EntriesComeOutInTheOrderTheyWentIn) {
  TZTBufferStampList list;
  EXPECT_FALSE(list.Pop());
  auto a = CountedBuffer(1);
  auto b = CountedBuffer(2);
  EXPECT_EQ(list.Add(a, 1, 2, 3), 1u);
  EXPECT_EQ(list.Add(b, -4, 5, 1LL << 40), 2u);
  EXPECT_EQ(list.Add(a, 7, 8, 9), 3u);

  auto first = list.Pop();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Buffer, a);
  EXPECT_EQ(first->Stamps, (std::array<std::int64_t, 3>{1, 2, 3}));
  auto second = list.Pop();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->Buffer, b);
  EXPECT_EQ(second->Stamps, (std::array<std::int64_t, 3>{-4, 5, 1LL << 40}));
  EXPECT_EQ(list.Pop()->Stamps[0], 7);
  EXPECT_TRUE(list.IsEmpty());

  const int before = TCountedStorage::Live;
  list.Add(CountedBuffer(8), 0, 0, 0);
  list.Clear();  // releases the buffers
  EXPECT_EQ(TCountedStorage::Live, before);
}

TEST(ZTBufferStampList, EachProducersEntriesKeepTheirOrder) {
  constexpr int Producers = 3;
  constexpr int PerProducer = 3000;
  TZTBufferStampList list;
  auto buffer = MakeRef<TZTGenericBuffer>(4);
  std::vector<std::thread> producers;
  for (int p = 0; p < Producers; ++p) {
    producers.emplace_back([&, p] {
      for (int i = 0; i < PerProducer; ++i) list.Add(buffer->MakeCopy(), p, i, 2 * i);
    });
  }
  std::array<std::int64_t, Producers> next{};
  int received = 0;
  while (received < Producers * PerProducer) {
    auto entry = list.Pop();
    if (!entry) {
      std::this_thread::yield();
      continue;
    }
    const auto producer = static_cast<std::size_t>(entry->Stamps[0]);
    ASSERT_LT(producer, next.size());
    ASSERT_EQ(entry->Stamps[1], next[producer]);
    ASSERT_EQ(entry->Stamps[2], 2 * next[producer]);
    ++next[producer];
    ++received;
  }
  for (auto& producer : producers) producer.join();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(buffer->GetDataContainer()->GetRefCount(), 1);
}

}  // namespace
}  // namespace qx::test
