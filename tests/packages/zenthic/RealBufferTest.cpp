#include <gtest/gtest.h>

#include "packages/zenthic/NXBufferPair.h"
#include "packages/zenthic/ZTException.h"
#include "packages/zenthic/ZTRealBuffer.h"

namespace qx::test {
namespace {

TEST(ZTRealBuffer, HoldsCountDoublesWithCopyOnWrite) {
  auto values = MakeRef<TZTRealBuffer>(5);
  EXPECT_EQ(values->GetSize(), 5u);
  EXPECT_EQ(values->GetByteSize(), 40u);
  double* written = values->Write();
  for (int i = 0; i < 5; ++i) written[i] = 0.5 * i;

  TRefPtr<IZTDataBuffer> copy = values->MakeCopy();
  auto* realCopy = dynamic_cast<TZTRealBuffer*>(copy.Get());
  ASSERT_NE(realCopy, nullptr);
  realCopy->Modify()[4] = -1.0;
  EXPECT_EQ(realCopy->Read()[3], 1.5);
  EXPECT_EQ(values->Read()[4], 2.0);

  // Bytes after the last whole value do not count.
  EXPECT_EQ(TZTRealBuffer(TZTGenericBuffer(20)).GetCount(), 2u);
}

TEST(NXBufferPair, TakesTwoBuffersInOrder) {
  auto x = MakeRef<TZTRealBuffer>(3);
  auto y = MakeRef<TZTRealBuffer>(3);
  auto pair = MakeRef<TNXBufferPair>();
  pair->AddBuffer(x);
  EXPECT_EQ(pair->GetCount(), 1);
  pair->AddBuffer(y);
  EXPECT_EQ(pair->GetFirst(), x);
  EXPECT_EQ(pair->GetSecond(), y);
  EXPECT_THROW(pair->AddBuffer(x), EZTException);
  EXPECT_EQ(pair->GetSecond(), y);
  EXPECT_THROW(MakeRef<TNXBufferPair>()->AddBuffer(nullptr), EZTException);
}

}  // namespace
}  // namespace qx::test
