#include "packages/sonquo/SNAudioFormat.h"

#include <string>

#include "host/ClassInfo.h"
#include "host/Exceptions.h"
#include "host/Properties.h"

namespace qx {

const TClassInfo& TSNAudioFormatBasic::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSNAudioFormatBasic>({
      Property<std::uint32_t>("SampleRate", &TSNAudioFormatBasic::GetSampleRate,
                              &TSNAudioFormatBasic::SetSampleRate, 44100),
      Property<std::uint16_t>("Channels", &TSNAudioFormatBasic::GetChannels,
                              &TSNAudioFormatBasic::SetChannels, 2),
      Property<std::uint16_t>("BitsPerSample", &TSNAudioFormatBasic::GetBitsPerSample,
                              &TSNAudioFormatBasic::SetBitsPerSample, 16),
      Property<std::uint32_t>("ChannelMask", &TSNAudioFormatBasic::GetChannelMask,
                              &TSNAudioFormatBasic::SetChannelMask, 0),
  });
  return info;
}

template <class T>
void TSNAudioFormatBasic::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TSNAudioFormatBasic::SetSampleRate(std::uint32_t value) {
  if (value == 0) throw EPropertyError("SampleRate: a sample rate must be positive");
  Store(FSampleRate, value);
}

void TSNAudioFormatBasic::SetChannels(std::uint16_t value) {
  if (value == 0) throw EPropertyError("Channels: a format needs at least one channel");
  Store(FChannels, value);
}

void TSNAudioFormatBasic::SetBitsPerSample(std::uint16_t value) {
  if (value == 0 || value > 32 || value % 8 != 0) {
    throw EPropertyError("BitsPerSample: " + std::to_string(value) +
                         " is not 8, 16, 24 or 32 bits");
  }
  Store(FBitsPerSample, value);
}

void TSNAudioFormatBasic::SetChannelMask(std::uint32_t value) { Store(FChannelMask, value); }

void TSNAudioFormatBasic::Assign(const TPersistent& source) {
  const auto* format = dynamic_cast<const TSNAudioFormatBasic*>(&source);
  if (!format) {
    inherited::Assign(source);
    return;
  }
  const bool changed = FSampleRate != format->FSampleRate || FChannels != format->FChannels ||
                       FBitsPerSample != format->FBitsPerSample ||
                       FChannelMask != format->FChannelMask;
  FSampleRate = format->FSampleRate;
  FChannels = format->FChannels;
  FBitsPerSample = format->FBitsPerSample;
  FChannelMask = format->FChannelMask;
  if (changed) Changed();
}

void TSNAudioFormatBasic::Changed() {
  if (OnChange) OnChange();
}

std::uint16_t TSNAudioFormatBasic::GetBlockAlign() const noexcept {
  return static_cast<std::uint16_t>(FChannels * (FBitsPerSample / 8));
}

std::uint32_t TSNAudioFormatBasic::GetEffectiveChannelMask() const noexcept {
  if (FChannelMask != 0) return FChannelMask;
  // 32 channels or more take every position (and a 32-bit shift is undefined).
  return FChannels >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << FChannels) - 1;
}

WAVEFORMATEX TSNAudioFormatBasic::GetPcmWaveFormat() const noexcept {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = FChannels;
  format.nSamplesPerSec = FSampleRate;
  format.nBlockAlign = GetBlockAlign();
  format.nAvgBytesPerSec = FSampleRate * format.nBlockAlign;
  format.wBitsPerSample = FBitsPerSample;
  format.cbSize = 0;
  return format;
}

WAVEFORMATEXTENSIBLE TSNAudioFormatBasic::GetWaveFormat() const noexcept {
  WAVEFORMATEXTENSIBLE format{};
  format.Format = GetPcmWaveFormat();
  format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  format.Format.cbSize = WAVEFORMATEXTENSIBLE_EXTRA_SIZE;
  format.Samples.wValidBitsPerSample = FBitsPerSample;
  format.dwChannelMask = GetEffectiveChannelMask();
  format.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
  return format;
}

}  // namespace qx
