#include <gtest/gtest.h>

#include <cstring>

#include "packages/sonquo/KRMediaBuffer.h"

namespace qx::test {
namespace {

constexpr TKRMediaTimeStamp Stamp{true, 1'000'000, 1'400'000};

TEST(KRMediaBuffer, TimeStampIsWrittenInTheSharedStorage) {
  auto producer = MakeRef<TKRMediaBuffer>(16);
  EXPECT_EQ(producer->GetTimeStamp(), TKRMediaTimeStamp{});
  auto holder = MakeRef<TKRMediaBuffer>(*producer);
  producer->SetTimeStamp(Stamp);
  EXPECT_EQ(holder->GetTimeStamp(), Stamp);

  TRefPtr<IZTDataBuffer> copy = producer->MakeCopy();
  auto* media = dynamic_cast<IKRMediaBuffer*>(copy.Get());
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(media->GetTimeStamp(), Stamp);
  EXPECT_EQ(copy->ByteRead(), producer->ByteRead());

  // A storage without a time stamp reports none and ignores a new one.
  auto plain = MakeRef<TKRMediaBuffer>(TZTGenericBuffer(8));
  plain->SetTimeStamp(Stamp);
  EXPECT_EQ(plain->GetTimeStamp(), TKRMediaTimeStamp{});
}

TEST(KRMediaBuffer, UnsharedAndResizedCopiesKeepTheStamp) {
  auto producer = MakeRef<TKRMediaBuffer>(16);
  std::memcpy(producer->ByteWrite(), "0123456789abcdef", 16);
  producer->SetTimeStamp(Stamp);
  auto holder = MakeRef<TKRMediaBuffer>(*producer);

  holder->ByteModify();
  EXPECT_NE(holder->ByteRead(), producer->ByteRead());
  EXPECT_EQ(holder->GetTimeStamp(), Stamp);
  holder->SetTimeStamp({true, 5, 6});
  EXPECT_EQ(producer->GetTimeStamp(), Stamp);  // private again: no longer shared

  ASSERT_TRUE(producer->Resize(40));
  EXPECT_EQ(producer->GetTimeStamp(), Stamp);
  EXPECT_EQ(std::memcmp(producer->ByteRead(), "0123456789abcdef", 16), 0);
}

}  // namespace
}  // namespace qx::test
