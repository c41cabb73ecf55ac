// TSNAudioFormatBasic: a PCM audio format as a published property (sample
// rate, channels, bits per sample, channel mask), and the wave formats it
// stands for.
//
// Published properties (defaults): SampleRate (44100), Channels (2),
// BitsPerSample (16), ChannelMask (0: the first Channels speaker positions,
// (1 << Channels) - 1). Setters raise EPropertyError for a sample rate or a
// channel count of 0 or a sample size other than 8, 16, 24 or 32 bits, and
// call `OnChange` after a change. The object is not locked: its owner
// serialises access.
#pragma once

#include <cstdint>
#include <functional>

#include "host/Persistent.h"
#include "packages/sonquo/SNWaveFormat.h"

namespace qx {

class TSNAudioFormatBasic : public TPersistent {
  QX_CLASS(TSNAudioFormatBasic, TPersistent)

 public:
  TSNAudioFormatBasic() = default;

  std::uint32_t GetSampleRate() const noexcept { return FSampleRate; }
  void SetSampleRate(std::uint32_t value);
  std::uint16_t GetChannels() const noexcept { return FChannels; }
  void SetChannels(std::uint16_t value);
  std::uint16_t GetBitsPerSample() const noexcept { return FBitsPerSample; }
  void SetBitsPerSample(std::uint16_t value);
  std::uint32_t GetChannelMask() const noexcept { return FChannelMask; }
  void SetChannelMask(std::uint32_t value);

  // Copies the four values from another TSNAudioFormatBasic (OnChange once,
  // when something changed).
  void Assign(const TPersistent& source) override;

  // Bytes per sample frame: Channels x BitsPerSample / 8.
  std::uint16_t GetBlockAlign() const noexcept;
  // The channel mask in force: ChannelMask, or the first Channels positions.
  std::uint32_t GetEffectiveChannelMask() const noexcept;

  // The format as WAVE_FORMAT_PCM (cbSize 0).
  WAVEFORMATEX GetPcmWaveFormat() const noexcept;
  // The format as WAVE_FORMAT_EXTENSIBLE (cbSize 22, all bits valid, the
  // effective channel mask, sub-format KSDATAFORMAT_SUBTYPE_PCM).
  WAVEFORMATEXTENSIBLE GetWaveFormat() const noexcept;

  // Called after a value changed.
  std::function<void()> OnChange;

 protected:
  // Calls OnChange; derived formats may add to it.
  virtual void Changed();

 private:
  template <class T>
  void Store(T& field, T value);

  std::uint32_t FSampleRate = 44100;
  std::uint16_t FChannels = 2;
  std::uint16_t FBitsPerSample = 16;
  std::uint32_t FChannelMask = 0;
};

}  // namespace qx
