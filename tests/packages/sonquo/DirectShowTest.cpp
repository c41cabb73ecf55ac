#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "packages/sonquo/QXDirectShow.h"

namespace qx::test {
namespace {

TEST(QXDirectShow, FourCharacterCodedTypesUseTheirCodes) {
  EXPECT_EQ(QXMakeFourCC('Y', 'U', 'Y', '2'), 0x32595559u);
  EXPECT_EQ(MEDIASUBTYPE_YUY2, QXFourCCGuid(QXMakeFourCC('Y', 'U', 'Y', '2')));
  EXPECT_EQ(MEDIASUBTYPE_UYVY, QXFourCCGuid(QXMakeFourCC('U', 'Y', 'V', 'Y')));
  EXPECT_EQ(MEDIATYPE_Video, QXFourCCGuid(QXMakeFourCC('v', 'i', 'd', 's')));
  EXPECT_EQ(MEDIATYPE_Audio, QXFourCCGuid(QXMakeFourCC('a', 'u', 'd', 's')));
  // PCM is wave format tag 1 in the same family.
  EXPECT_EQ(MEDIASUBTYPE_PCM, QXFourCCGuid(1));

  // The RGB subtypes form one family with consecutive first fields.
  const std::array<TGUID, 5> rgb = {MEDIASUBTYPE_RGB8, MEDIASUBTYPE_RGB565, MEDIASUBTYPE_RGB555,
                                    MEDIASUBTYPE_RGB24, MEDIASUBTYPE_RGB32};
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    EXPECT_EQ(rgb[i].D2, rgb[0].D2);
    EXPECT_EQ(rgb[i].D3, rgb[0].D3);
    EXPECT_EQ(rgb[i].D4, rgb[0].D4);
    // Consecutive first fields, in this order of depth.
    EXPECT_EQ(rgb[i].D1, rgb[0].D1 + i);
  }
  EXPECT_NE(FORMAT_VideoInfo, FORMAT_WaveFormatEx);
  EXPECT_EQ(FORMAT_WaveFormatEx.D1, FORMAT_VideoInfo.D1 + 1);
}

}  // namespace
}  // namespace qx::test
