#include <gtest/gtest.h>

#include <cstdint>

#include "host/Exceptions.h"
#include "host/Properties.h"
#include "packages/sonquo/SNAudioFormat.h"

namespace qx::test {
namespace {

TEST(SNAudioFormatBasic, DefaultsDescribeCdQualityStereo) {
  const TSNAudioFormatBasic format;
  const WAVEFORMATEXTENSIBLE wave = format.GetWaveFormat();
  EXPECT_EQ(wave.Format.wFormatTag, WAVE_FORMAT_EXTENSIBLE);
  EXPECT_EQ(wave.Format.nChannels, 2);
  EXPECT_EQ(wave.Format.nSamplesPerSec, 44100u);
  EXPECT_EQ(wave.Format.nBlockAlign, 4);
  EXPECT_EQ(wave.Format.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(wave.Format.wBitsPerSample, 16);
  EXPECT_EQ(wave.Format.cbSize, 22);
  EXPECT_EQ(wave.Samples.wValidBitsPerSample, 16);
  EXPECT_EQ(wave.dwChannelMask, 0x3u);
  const TGUID subFormat = wave.SubFormat;
  EXPECT_EQ(subFormat, KSDATAFORMAT_SUBTYPE_PCM);

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
  format.SetChannels(32);
  EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0xFFFFFFFFu);
  format.SetChannels(40);
  EXPECT_EQ(format.GetWaveFormat().dwChannelMask, 0xFFFFFFFFu);
}

TEST(SNAudioFormatBasic, RejectsFormatsWithoutSamples) {
  TSNAudioFormatBasic format;
  EXPECT_THROW(format.SetSampleRate(0), EPropertyError);
  EXPECT_THROW(format.SetChannels(0), EPropertyError);
  EXPECT_THROW(format.SetBitsPerSample(0), EPropertyError);
  EXPECT_THROW(format.SetBitsPerSample(12), EPropertyError);
  EXPECT_THROW(format.SetBitsPerSample(40), EPropertyError);
  EXPECT_EQ(format.GetSampleRate(), 44100u);
  EXPECT_EQ(format.GetChannels(), 2);
  EXPECT_EQ(format.GetBitsPerSample(), 16);
}

TEST(SNAudioFormatBasic, ChangesAreNotifiedOnce) {
  TSNAudioFormatBasic format;
  int changes = 0;
  format.OnChange = [&] { ++changes; };
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
