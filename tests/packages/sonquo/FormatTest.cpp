// Media type identifiers, wave format structures and the audio format
// property object.
#include <gtest/gtest.h>

#include <array>
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

WAVEFORMATEXTENSIBLE CdExtensible() {
  WAVEFORMATEXTENSIBLE format{};
  format.Format = {WAVE_FORMAT_EXTENSIBLE, 2, 44100, 176400, 4, 16, 22};
  format.Samples.wValidBitsPerSample = 16;
  format.dwChannelMask = 0x3;
  format.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  return format;
}

TEST(QXDirectShow, FourCharacterCodedTypesUseTheirCodes) {
  EXPECT_EQ(QXMakeFourCC('Y', 'U', 'Y', '2'), 0x32595559u);
  EXPECT_EQ(MEDIASUBTYPE_YUY2, QXFourCCGuid(QXMakeFourCC('Y', 'U', 'Y', '2')));
  EXPECT_EQ(MEDIATYPE_Video, QXFourCCGuid(QXMakeFourCC('v', 'i', 'd', 's')));
  EXPECT_EQ(MEDIATYPE_Audio, QXFourCCGuid(QXMakeFourCC('a', 'u', 'd', 's')));
  EXPECT_EQ(MEDIASUBTYPE_PCM, QXFourCCGuid(1));  // wave format tag 1, same family

  // The RGB subtypes form one family with consecutive first fields, in this
  // order of depth.
  const std::array<TGUID, 5> rgb = {MEDIASUBTYPE_RGB8, MEDIASUBTYPE_RGB565, MEDIASUBTYPE_RGB555,
                                    MEDIASUBTYPE_RGB24, MEDIASUBTYPE_RGB32};
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    EXPECT_EQ(rgb[i].D1, rgb[0].D1 + i);
    EXPECT_TRUE(rgb[i].D2 == rgb[0].D2 && rgb[i].D3 == rgb[0].D3 && rgb[i].D4 == rgb[0].D4) << i;
  }
  EXPECT_EQ(FORMAT_WaveFormatEx.D1, FORMAT_VideoInfo.D1 + 1);
}

TEST(SNWaveFormat, StructuresHaveThePlatformsByteLayout) {
  // The extensible structure begins with the plain one.
  const WAVEFORMATEXTENSIBLE extensible = CdExtensible();
  ASSERT_EQ(sizeof extensible, 40u);
  EXPECT_EQ(std::memcmp(&extensible, ExtensibleBytes, 40), 0);
}

TEST(SNWaveFormat, CopiesTheFormatWithItsExtraBytesOnly) {
  const WAVEFORMATEX plain{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
  const TSNWaveFormat pcm(&plain, sizeof plain);
  EXPECT_EQ(pcm.GetSize(), 18u);
  EXPECT_EQ(pcm.GetFormat().nSamplesPerSec, 44100u);
  EXPECT_FALSE(pcm.GetExtensible());

  // Bytes beyond 18 + cbSize are not part of the format.
  std::vector<std::uint8_t> padded(ExtensibleBytes, ExtensibleBytes + 40);
  padded.resize(64, 0xEE);
  const TSNWaveFormat extensible(padded.data(), padded.size());
  ASSERT_EQ(extensible.GetSize(), 40u);
  EXPECT_EQ(std::memcmp(extensible.GetData(), ExtensibleBytes, 40), 0);
  ASSERT_TRUE(extensible.GetExtensible());
  EXPECT_EQ(extensible.GetExtensible()->dwChannelMask, 3u);
  EXPECT_EQ(TSNWaveFormat(CdExtensible()), extensible);
  EXPECT_NE(TSNWaveFormat(CdExtensible()), pcm);

  // Formats shorter than they declare are refused.
  EXPECT_THROW(TSNWaveFormat(&plain, 17), EZTException);
  EXPECT_THROW(TSNWaveFormat(nullptr, 18), EZTException);
  EXPECT_THROW(TSNWaveFormat(ExtensibleBytes, 39), EZTException);
  EXPECT_THROW(TSNWaveFormat().GetFormat(), EZTException);
}

TEST(SNAudioFormatBasic, DefaultsDescribeCdQualityStereo) {
  const TSNAudioFormatBasic format;
  const WAVEFORMATEXTENSIBLE wave = format.GetWaveFormat();
  EXPECT_EQ(std::memcmp(&wave, ExtensibleBytes, 40), 0);
  const WAVEFORMATEX pcm = format.GetPcmWaveFormat();
  EXPECT_EQ(pcm.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(pcm.cbSize, 0);
  EXPECT_EQ(pcm.nAvgBytesPerSec, 176400u);
  EXPECT_FALSE(HasStoredValues(format));  // the defaults are the published ones
}

TEST(SNAudioFormatBasic, WaveFormatFollowsTheProperties) {
  TSNAudioFormatBasic format;
  format.SetSampleRate(48000);
  format.SetChannels(6);
  format.SetBitsPerSample(24);
  WAVEFORMATEXTENSIBLE wave = format.GetWaveFormat();
  EXPECT_EQ(wave.Format.nBlockAlign, 18);
  EXPECT_EQ(wave.Format.nAvgBytesPerSec, 864000u);
  EXPECT_EQ(wave.dwChannelMask, 0x3Fu);

  format.SetChannelMask(0x60F);  // 5.1 with side speakers
  EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0x60Fu);
  format.SetChannelMask(0);
  for (std::uint16_t channels : {32, 40}) {
    format.SetChannels(channels);
    EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0xFFFFFFFFu) << channels;
  }
}

TEST(SNAudioFormatBasic, RejectsFormatsWithoutSamplesAndNotifiesChangesOnce) {
  TSNAudioFormatBasic format;
  int changes = 0;
  format.OnChange = [&] { ++changes; };
  EXPECT_THROW(format.SetSampleRate(0), EPropertyError);
  EXPECT_THROW(format.SetChannels(0), EPropertyError);
  for (std::uint16_t bits : {0, 12, 40}) {
    EXPECT_THROW(format.SetBitsPerSample(bits), EPropertyError) << bits;
  }
  const WAVEFORMATEXTENSIBLE unchanged = format.GetWaveFormat();
  EXPECT_EQ(std::memcmp(&unchanged, ExtensibleBytes, 40), 0);
  EXPECT_EQ(changes, 0);

  format.SetSampleRate(44100);
  EXPECT_EQ(changes, 0);
  format.SetSampleRate(22050);
  format.SetBitsPerSample(8);
  EXPECT_EQ(changes, 2);

  TSNAudioFormatBasic other;
  other.SetChannels(1);
  format.Assign(other);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(format.GetSampleRate(), 44100u);
  EXPECT_EQ(format.GetChannels(), 1);
  EXPECT_EQ(format.GetBitsPerSample(), 16);
  format.Assign(other);
  EXPECT_EQ(changes, 3);
}

}  // namespace
}  // namespace qx::test
