#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "packages/sonquo/SNWaveFormat.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

// 44.1 kHz stereo 16-bit PCM as it lies in a file: little-endian fields.
const std::uint8_t PcmBytes[18] = {0x01, 0x00,              // wFormatTag 1
                                   0x02, 0x00,              // nChannels 2
                                   0x44, 0xAC, 0x00, 0x00,  // nSamplesPerSec 44100
                                   0x10, 0xB1, 0x02, 0x00,  // nAvgBytesPerSec 176400
                                   0x04, 0x00,              // nBlockAlign 4
                                   0x10, 0x00,              // wBitsPerSample 16
                                   0x00, 0x00};             // cbSize 0

// The same as WAVE_FORMAT_EXTENSIBLE with its 22 extra bytes.
const std::uint8_t ExtensibleBytes[40] = {
    0xFE, 0xFF, 0x02, 0x00, 0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1, 0x02, 0x00, 0x04, 0x00, 0x10, 0x00,
    0x16, 0x00,              // cbSize 22
    0x10, 0x00,              // wValidBitsPerSample 16
    0x03, 0x00, 0x00, 0x00,  // dwChannelMask: front left and right
    // SubFormat {00000001-0000-0010-8000-00AA00389B71}: three little-endian
    // fields, then eight bytes as written.
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

TEST(SNWaveFormat, StructuresReadThePlatformsByteLayout) {
  WAVEFORMATEX pcm;
  std::memcpy(&pcm, PcmBytes, sizeof pcm);
  EXPECT_EQ(pcm.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(pcm.nChannels, 2);
  EXPECT_EQ(pcm.nSamplesPerSec, 44100u);
  EXPECT_EQ(pcm.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(pcm.nBlockAlign, 4);
  EXPECT_EQ(pcm.wBitsPerSample, 16);
  EXPECT_EQ(pcm.cbSize, 0);

  WAVEFORMATEXTENSIBLE extensible;
  std::memcpy(&extensible, ExtensibleBytes, sizeof extensible);
  EXPECT_EQ(extensible.Format.wFormatTag, WAVE_FORMAT_EXTENSIBLE);
  EXPECT_EQ(extensible.Format.cbSize, WAVEFORMATEXTENSIBLE_EXTRA_SIZE);
  EXPECT_EQ(extensible.Samples.wValidBitsPerSample, 16);
  EXPECT_EQ(extensible.dwChannelMask, 3u);
  const TGUID subFormat = extensible.SubFormat;
  EXPECT_EQ(subFormat, KSDATAFORMAT_SUBTYPE_PCM);
}

TEST(SNWaveFormat, CopiesTheFormatWithItsExtraBytes) {
  const TSNWaveFormat pcm(PcmBytes, sizeof PcmBytes);
  EXPECT_EQ(pcm.GetSize(), 18u);
  EXPECT_EQ(pcm.GetFormat().nSamplesPerSec, 44100u);
  EXPECT_FALSE(pcm.GetExtensible());

  // Bytes beyond 18 + cbSize are not part of the format.
  std::vector<std::uint8_t> padded(ExtensibleBytes, ExtensibleBytes + 40);
  padded.resize(64, 0xEE);
  const TSNWaveFormat extensible(padded.data(), padded.size());
  ASSERT_EQ(extensible.GetSize(), 40u);
  EXPECT_EQ(std::memcmp(extensible.GetData(), ExtensibleBytes, 40), 0);
  const auto whole = extensible.GetExtensible();
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->dwChannelMask, 3u);

  WAVEFORMATEXTENSIBLE value;
  std::memcpy(&value, ExtensibleBytes, sizeof value);
  EXPECT_EQ(TSNWaveFormat(value), extensible);
  EXPECT_NE(TSNWaveFormat(value), pcm);

  // Formats shorter than they declare are refused.
  EXPECT_THROW(TSNWaveFormat(PcmBytes, 17), EZTException);
  EXPECT_THROW(TSNWaveFormat(nullptr, 18), EZTException);
  EXPECT_THROW(TSNWaveFormat(ExtensibleBytes, 39), EZTException);
  EXPECT_THROW(TSNWaveFormat().GetFormat(), EZTException);
}

}  // namespace
}  // namespace qx::test
