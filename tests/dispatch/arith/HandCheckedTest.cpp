// Results worked out by hand for the SIMD kernels (the differential test holds
// the references to the same results): the
// rounding and saturation rules of the scaled kernels, division by zero, the
// alpha bytes of AC4 pixels, shifts, one-channel copies, mirrors and the
// early stop of Max.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <vector>

#include "ArithTestSupport.h"

namespace qx::arithtest {
namespace {

using Bytes = std::vector<Ipp8u>;

// One row through `kernel`: the operands' bytes in argument order (the last one
// is written), each its own step; returns the written operand.
template <class Kernel>
Bytes OneRow(Kernel* kernel, std::vector<Bytes> operands, int width, Arguments args,
             IppStatus status = ippStsNoErr) {
  std::vector<Operand> rows;
  for (Bytes& row : operands) rows.push_back({row.data(), static_cast<int>(row.size())});
  EXPECT_EQ(Form<Kernel>::Call(kernel, rows, args, {width, 1}), status);
  return operands.back();
}

// Source two minus and divided by source one.
TEST(HandChecked, ScaledTwoSourceResults) {
  const auto scaled = [](fallback::TwoSourceSfsKernel* kernel, Bytes src1, Bytes src2, int scale,
                         IppStatus status = ippStsNoErr) {
    const int n = static_cast<int>(src1.size());
    return OneRow(kernel, {src1, src2, Bytes(n)}, n, {.scaleFactor = scale}, status);
  };
  // Halves round to even (1.5, 2.5, 2.75), saturation, nothing left above 9.
  EXPECT_EQ(scaled(fallback::ippiAdd_8u_C1RSfs, {3, 5, 5, 200}, {3, 5, 6, 100}, 2),
            (Bytes{2, 2, 3, 75}));
  EXPECT_EQ(scaled(fallback::ippiAdd_8u_C1RSfs, {200, 50}, {100, 10}, -1), (Bytes{255, 120}));
  EXPECT_EQ(scaled(fallback::ippiAdd_8u_C1RSfs, {255}, {255}, 10), (Bytes{0}));
  EXPECT_EQ(scaled(fallback::ippiSub_8u_C1RSfs, {10, 50}, {30, 20}, 0), (Bytes{20, 0}));
  // 65025 / 256 = 254.0; 128 / 256 = 0.5 -> 0; 384 / 256 = 1.5 -> 2.
  EXPECT_EQ(scaled(fallback::ippiMul_8u_C1RSfs, {255, 16, 16}, {255, 8, 24}, 8),
            (Bytes{254, 0, 2}));
  // 3/2 -> 2, 5/2 -> 2, 7/2 -> 4, 9/0 -> 255, 0/0 -> 0, and the row finished past a zero.
  EXPECT_EQ(scaled(fallback::ippiDiv_8u_C1RSfs, {2, 2, 2, 0, 0, 5}, {3, 5, 7, 9, 0, 5}, 0,
                   ippStsDivByZero),
            (Bytes{2, 2, 4, 255, 0, 1}));
  // 2^15 / 255 = 128.5019 -> 129; 2^16 / 255 saturates.
  EXPECT_EQ(scaled(fallback::ippiDiv_8u_C1RSfs, {255, 255}, {1, 2}, -15), (Bytes{129, 255}));
}

TEST(HandChecked, ConstantsCountsAndAlphaBytes) {
  // DivC refuses a zero constant, but C3 divides all the same (4.5 -> 4, 2.25 -> 2); AC4 does not.
  const Arguments divC{.constants = {2, 0, 4}};
  EXPECT_EQ(
      OneRow(fallback::ippiDivC_8u_C3IRSfs, {{9, 9, 9, 4, 0, 4}}, 2, divC, ippStsDivByZeroErr),
      (Bytes{4, 255, 2, 2, 0, 1}));
  EXPECT_EQ(OneRow(fallback::ippiDivC_8u_AC4IRSfs, {{9, 9, 9, 9, 4, 0, 4, 4}}, 2, divC,
                   ippStsDivByZeroErr),
            (Bytes{9, 9, 9, 9, 4, 0, 4, 4}));
  // An AC4 divisor's alpha 0 is no zero divisor.
  EXPECT_EQ(OneRow(fallback::ippiDiv_8u_AC4IRSfs, {{2, 2, 2, 0}, {8, 9, 10, 77}}, 1, {}),
            (Bytes{4, 4, 5, 77}));
  // MulScale divides by 255 rounding down.
  EXPECT_EQ(
      OneRow(fallback::ippiMulScale_8u_C1IR, {{255, 255, 128, 0}, {255, 128, 128, 200}}, 4, {}),
      (Bytes{255, 128, 64, 0}));
  // Shifts drop carries and clear beyond seven.
  EXPECT_EQ(OneRow(fallback::ippiLShiftC_8u_C3IR, {{0x81, 0xFF, 0x5A, 0x40, 0x01, 0xC3}}, 2,
                   {.counts = {1, 8, 0}}),
            (Bytes{0x02, 0x00, 0x5A, 0x80, 0x00, 0xC3}));
  EXPECT_EQ(OneRow(fallback::ippiRShiftC_8u_C4IR, {{0xFF, 0xFF, 0xFF, 0xFF}}, 1,
                   {.counts = {1, 7, 9, 0}}),
            (Bytes{0x7F, 0x01, 0x00, 0xFF}));
  // AbsDiffC clamps its value.
  EXPECT_EQ(
      OneRow(fallback::ippiAbsDiffC_8u_C1R, {{0, 100, 255}, {0, 0, 0}}, 3, {.scaleFactor = 300}),
      (Bytes{255, 155, 0}));
  // Not inverts alpha in the C4 form.
  EXPECT_EQ(OneRow(fallback::ippiNot_8u_C4IR, {{0, 1, 254, 255}}, 1, {}), (Bytes{255, 254, 1, 0}));
}

TEST(HandChecked, Mirrors) {
  Bytes image(27);  // 3 x 3 pixels of 3 bytes, turned about the centre in place
  for (int i = 0; i < 27; ++i) image[i] = static_cast<Ipp8u>(i);
  EXPECT_EQ(fallback::ippiMirror_8u_C3IR(image.data(), 9, {3, 3}, ippAxsBoth), ippStsNoErr);
  for (int pixel = 0; pixel < 9; ++pixel)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(image[3 * pixel + c], 3 * (8 - pixel) + c);
  // 16-bit pixels move as whole words.
  const std::array<Ipp16u, 6> src = {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C};
  std::array<Ipp16u, 6> dst{};
  EXPECT_EQ(fallback::ippiMirror_16u_C1R(src.data(), 6, dst.data(), 6, {3, 2}, ippAxsVertical),
            ippStsNoErr);
  EXPECT_EQ(dst, (std::array<Ipp16u, 6>{0x0506, 0x0304, 0x0102, 0x0B0C, 0x090A, 0x0708}));
}

TEST(HandChecked, ChannelCopiesFillsAndByteSwaps) {
  const Bytes plane = {1, 2}, other = {5, 6};
  EXPECT_EQ(OneRow(fallback::ippiCopy_8u_C1C4R, {plane, Bytes(8, 9)}, 2, {}),
            (Bytes{1, 9, 9, 9, 2, 9, 9, 9}));  // the destination pointer on channel 0
  EXPECT_EQ(OneRow(fallback::ippiCopy_8u_C3C1R, {{1, 7, 7, 2, 7, 7}, Bytes(2)}, 2, {}), plane);
  EXPECT_EQ(OneRow(fallback::ippiSet_8u_C3CR, {Bytes(6, 0)}, 2, {.value = 7}),
            (Bytes{7, 0, 0, 7, 0, 0}));
  const Ipp8u* planes[3] = {plane.data(), other.data(), plane.data()};
  Bytes rgb(6);
  EXPECT_EQ(fallback::ippiCopy_8u_P3C3R(planes, 2, rgb.data(), 6, {2, 1}), ippStsNoErr);
  EXPECT_EQ(rgb, (Bytes{1, 5, 1, 2, 6, 2}));
  EXPECT_EQ(OneRow(fallback::ippiSet_16s_C1R, {Bytes(4)}, 2, {.value = -2}),
            (Bytes{0xFE, 0xFF, 0xFE, 0xFF}));
  std::array<Ipp16u, 2> swapped = {0x1234, 0xFF00};
  EXPECT_EQ(fallback::ippsSwapBytes_16u_I(swapped.data(), 2), ippStsNoErr);
  EXPECT_EQ(swapped, (std::array<Ipp16u, 2>{0x3412, 0x00FF}));
}

// A zero constant where a fourth would be read (DivC refuses it: -10).
template <class Kernel>
void ExpectAlphaKept(std::string_view name, Kernel* kernel, std::mt19937& random) {
  const IppiSize roi{37, 3};
  std::vector<GuardedImage> images = ImagesFor<Kernel>(name, roi, random);
  GuardedImage before = images.back();
  Arguments args = RandomArguments(random);
  args.scaleFactor = 1;
  args.constants = {1, 2, 3, 0};
  args.axis = ippAxsBoth;
  EXPECT_GE(Run(Bind(kernel, args), images, roi), ippStsDivByZeroErr);
  for (int y = 0; y < roi.height; ++y)
    for (int x = 0; x < roi.width; ++x)
      EXPECT_EQ(images.back().At(4 * x + 3, y), before.At(4 * x + 3, y)) << name;
}

// Max reads no row after the first that holds 255: here that row lies on a page that
// cannot be read.
TEST(HandChecked, MaxStopsAfterTheFirstRowHolding255) {
  const long page = sysconf(_SC_PAGESIZE);
  void* block = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  auto* bytes = static_cast<Ipp8u*>(block);
  ASSERT_EQ(mprotect(bytes + page, page, PROT_NONE), 0);
  Ipp8u* row = bytes + page - 100;
  std::fill(row, row + 100, 3);
  row[57] = 255;
  for (auto* max : {fallback::ippiMax_8u_C1R, fallback::reference::ippiMax_8u_C1R}) {
    Ipp8u largest = 0;
    EXPECT_EQ(max(row, static_cast<int>(page), {100, 2}, &largest), ippStsNoErr);
    EXPECT_EQ(largest, 255);
  }
  munmap(block, 2 * page);
}

TEST(AlphaKept, InEveryAC4Destination) {
  std::mt19937 random(99);
  ForEachEntry([&random](std::string_view name, auto* simd, auto* reference) {
    if (name.find("AC4") == name.npos || name.ends_with("C3R")) return;  // AC4C3R: 3 bytes
    ExpectAlphaKept(name, simd, random);
    ExpectAlphaKept(name, reference, random);
  });
}

}  // namespace
}  // namespace qx::arithtest
