// TSNAudioBuffer: a media buffer of interleaved PCM samples, with its
// interface ISNAudioBuffer, and TSNSmartAudioBuffer, the storage that holds
// the samples and their geometry.
//
// Geometry. A sample frame holds one sample per channel; each sample takes
// (BitsPerSample + 7) / 8 bytes, so a frame takes GetBlockAlign() =
// Channels x that many bytes and the buffer GetSampleCount() x GetBlockAlign()
// bytes. `GetSize` is the sample count; `GetDuration` the length in 100-ns
// units at the sample rate, rounded down.
//
// The geometry lives in the storage, so it travels with the samples: an audio
// buffer built from any data buffer holding audio storage (a supplied buffer
// arriving on a pin) has the producer's geometry. The samples follow the
// copy-on-write rules of IZTDataBuffer and carry the media time stamp;
// `Resize` and `LoadFromFile` accept whole sample frames only.
#pragma once

#include <cstddef>
#include <cstdint>

#include "packages/sonquo/KRMediaBuffer.h"
#include "packages/sonquo/KRSmartMediaBuffer.h"
#include "packages/zenthic/ZTBlockStorage.h"

namespace qx {

class TSNSmartAudioBuffer final : public TZTBlockStorage<TSNSmartAudioBuffer, TKRSmartMediaBuffer> {
 public:
  // `sampleCount` uninitialised sample frames. Raises EZTException when the
  // sample rate, the channel count or the sample size is 0, or when the
  // samples would not fit in memory.
  TSNSmartAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount, std::uint16_t channels,
                      std::uint16_t bitsPerSample);
  // A copy of `source` with `charSize` bytes rounded down to whole frames.
  TSNSmartAudioBuffer(const TSNSmartAudioBuffer& source, std::size_t charSize, bool copyData);

  std::uint32_t GetSampleRate() const noexcept { return FSampleRate; }
  std::uint16_t GetChannels() const noexcept { return FChannels; }
  std::uint16_t GetBitsPerSample() const noexcept { return FBitsPerSample; }
  std::size_t GetBlockAlign() const noexcept;
  std::size_t GetSampleCount() const noexcept { return GetCharSize() / GetBlockAlign(); }

 private:
  std::uint32_t FSampleRate;
  std::uint16_t FChannels;
  std::uint16_t FBitsPerSample;
};

class ISNAudioBuffer : public virtual IKRMediaBuffer {
 public:
  virtual std::uint32_t GetSampleRate() const = 0;
  virtual std::size_t GetSampleCount() const = 0;
  virtual std::uint16_t GetChannels() const = 0;
  virtual std::uint16_t GetBitsPerSample() const = 0;
  // Bytes per sample frame.
  virtual std::size_t GetBlockAlign() const = 0;
  // SampleCount x 10,000,000 / SampleRate, in 100-ns units, rounded down.
  virtual std::int64_t GetDuration() const = 0;

 protected:
  ~ISNAudioBuffer() override = default;
};

class TSNAudioBuffer : public TKRMediaBuffer, public virtual ISNAudioBuffer {
 public:
  // `sampleCount` uninitialised sample frames (see TSNSmartAudioBuffer for
  // what raises).
  TSNAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount, std::uint16_t channels,
                 std::uint16_t bitsPerSample);
  // The same, filled with the GetByteSize() bytes at `samples`.
  TSNAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount, std::uint16_t channels,
                 std::uint16_t bitsPerSample, const void* samples);
  // A buffer sharing `source`'s samples. Raises EZTException when `source`
  // does not hold audio storage.
  explicit TSNAudioBuffer(const IZTDataBuffer& source);

  std::uint32_t GetSampleRate() const override { return Audio().GetSampleRate(); }
  std::size_t GetSampleCount() const override { return Audio().GetSampleCount(); }
  std::uint16_t GetChannels() const override { return Audio().GetChannels(); }
  std::uint16_t GetBitsPerSample() const override { return Audio().GetBitsPerSample(); }
  std::size_t GetBlockAlign() const override { return Audio().GetBlockAlign(); }
  std::int64_t GetDuration() const override;
  std::size_t GetSize() const override { return GetSampleCount(); }

  // Takes `source`'s samples; raises EZTException (and keeps its own) when
  // `source` does not hold audio storage.
  void Assign(const IZTDataBuffer& source) override;
  TRefPtr<IZTDataBuffer> MakeCopy() const override;

  // A new buffer with a copy of `count` sample frames from `first` (both cut
  // to the frames there are), of the same format. With a time stamp, the
  // copy's stamp begins `first` frames later and lasts as long as its frames.
  TRefPtr<TSNAudioBuffer> CopySamples(std::size_t first, std::size_t count) const;

 private:
  const TSNSmartAudioBuffer& Audio() const noexcept;
};

}  // namespace qx
