// Media type identifiers, wave format structures and the audio format
// property object.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "host/Exceptions.h"
#include "host/Properties.h"
#include "packages/sonquo/QXDirectShow.h"
#include "packages/sonquo/SNAudioFormat.h"
#include "packages/sonquo/SNWaveFormat.h"
#include "packages/zenthic/ZTException.h"

namespace qx::test {
namespace {

// 44.1 kHz stereo 16-bit PCM as WAVE_FORMAT_EXTENSIBLE lies in a file:
// little-endian fields, then the 22 extra bytes.
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40);
const std::uint8_t ExtensibleBytes[40] = {
    0xFE, 0xFF,              // wFormatTag
    0x02, 0x00,              // nChannels 2
    0x44, 0xAC, 0x00, 0x00,  // nSamplesPerSec 44100
    0x10, 0xB1, 0x02, 0x00,  // nAvgBytesPerSec 176400
    0x04, 0x00,              // nBlockAlign 4
    0x10, 0x00,              // wBitsPerSample 16
    0x16, 0x00,              // cbSize 22
    0x10, 0x00,              // wValidBitsPerSample 16
    0x03, 0x00, 0x00, 0x00,  // dwChannelMask: front left and right
    // SubFormat {00000001-0000-0010-8000-00AA00389B71}: three little-endian
    // fields, then eight bytes as written.
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

TEST(QXDirectShow, FourCharacterCodedTypesUseTheirCodes) {
  EXPECT_EQ(QXMakeFourCC('Y', 'U', 'Y', '2'), 0x32595559u);
  EXPECT_EQ(MEDIASUBTYPE_YUY2, QXFourCCGuid(QXMakeFourCC('Y', 'U', 'Y', '2')));
}

TEST(SNWaveFormat, CopiesTheFormatWithItsExtraBytesOnly) {
  const WAVEFORMATEX plain{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const TSNWaveFormat pcm(&plain, sizeof plain);
  EXPECT_FALSE(pcm.GetExtensible());

  // Bytes beyond 18 + cbSize are not part of the format.
  std::vector<std::uint8_t> padded(ExtensibleBytes, ExtensibleBytes + 40);
  padded.resize(64, 0xEE);
  const TSNWaveFormat extensible(padded.data(), padded.size());
  ASSERT_EQ(extensible.GetSize(), 40u);
  ASSERT_TRUE(extensible.GetExtensible());
  EXPECT_EQ(extensible.GetExtensible()->dwChannelMask, 3u);
  EXPECT_NE(extensible, pcm);

  // Formats shorter than they declare are refused.
  EXPECT_THROW(TSNWaveFormat(&plain, 17), EZTException);
  EXPECT_THROW(TSNWaveFormat(ExtensibleBytes, 39), EZTException);
  EXPECT_THROW(TSNWaveFormat().GetFormat(), EZTException);
}

TEST(SNAudioFormatBasic, WaveFormatFollowsThePropertiesAndRefusesFormatsWithoutSamples) {
  TSNAudioFormatBasic format;
  EXPECT_FALSE(HasStoredValues(format));  // the defaults are the published ones
  EXPECT_EQ(format.GetPcmWaveFormat().cbSize, 0);
  int changes = 0;
  format.OnChange = [&] { ++changes; };
  EXPECT_THROW(format.SetSampleRate(0), EPropertyError);
  EXPECT_THROW(format.SetChannels(0), EPropertyError);
  for (std::uint16_t bits : {0, 12, 40}) {
    EXPECT_THROW(format.SetBitsPerSample(bits), EPropertyError) << bits;
  }
  format.SetSampleRate(44100);
  EXPECT_EQ(changes, 0);  // refusals and the same value change nothing

  format.SetSampleRate(48000);
  format.SetChannels(6);
  format.SetBitsPerSample(24);
  EXPECT_EQ(changes, 3);
  const WAVEFORMATEXTENSIBLE wave = format.GetWaveFormat();
  EXPECT_EQ(wave.Format.nBlockAlign, 18);
  EXPECT_EQ(wave.Format.nAvgBytesPerSec, 864000u);
  EXPECT_EQ(wave.dwChannelMask, 0x3Fu);
  format.SetChannels(40);  // more than a mask has bits for
  EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0xFFFFFFFFu);
  format.SetChannelMask(0x60F);  // an explicit mask wins
  EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0x60Fu);

  const TSNAudioFormatBasic defaults;  // CD quality stereo
  format.Assign(defaults);
  EXPECT_EQ(changes, 6);  // one for the whole assignment
  const WAVEFORMATEXTENSIBLE assigned = format.GetWaveFormat();
  EXPECT_EQ(std::memcmp(&assigned, ExtensibleBytes, 40), 0);
}

}  // namespace
}  // namespace qx::test
