#include "packages/sonquo/SNAudioBuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "packages/zenthic/ZTException.h"

namespace qx {
namespace {

constexpr std::int64_t UnitsPerSecond = 10'000'000;

std::size_t BlockAlignOf(std::uint16_t channels, std::uint16_t bitsPerSample) {
  return std::size_t{channels} * ((std::size_t{bitsPerSample} + 7) / 8);
}

std::size_t CheckedByteSize(std::uint32_t sampleRate, std::size_t sampleCount,
                            std::uint16_t channels, std::uint16_t bitsPerSample) {
  if (sampleRate == 0 || channels == 0 || bitsPerSample == 0) {
    throw EZTException("an audio buffer needs a sample rate, channels and a sample size");
  }
  const std::size_t blockAlign = BlockAlignOf(channels, bitsPerSample);
  if (sampleCount > std::numeric_limits<std::size_t>::max() / blockAlign) {
    throw EZTException("too many samples for an audio buffer");
  }
  return sampleCount * blockAlign;
}

// The storage of `buffer` as audio storage, or null.
const TSNSmartAudioBuffer* AudioStorageOf(const IZTDataBuffer& buffer) {
  return dynamic_cast<const TSNSmartAudioBuffer*>(buffer.GetInstance().GetDataContainer().Get());
}

const IZTDataBuffer& CheckedAudioSource(const IZTDataBuffer& source) {
  if (!AudioStorageOf(source)) throw EZTException("the data buffer holds no audio samples");
  return source;
}

// Time of `frames` sample frames at `sampleRate`, in 100-ns units, rounded
// down. Whole seconds and the remaining frames are scaled apart, so that
// frames x 10^7 never has to fit in 64 bits.
std::int64_t DurationOf(std::size_t frames, std::uint32_t sampleRate) {
  const std::uint64_t seconds = frames / sampleRate;
  const std::uint64_t rest = frames % sampleRate;
  return static_cast<std::int64_t>(seconds * UnitsPerSecond + rest * UnitsPerSecond / sampleRate);
}

}  // namespace

TSNSmartAudioBuffer::TSNSmartAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount,
                                         std::uint16_t channels, std::uint16_t bitsPerSample)
    : TZTBlockStorage(CheckedByteSize(sampleRate, sampleCount, channels, bitsPerSample)),
      FSampleRate(sampleRate),
      FChannels(channels),
      FBitsPerSample(bitsPerSample) {}

TSNSmartAudioBuffer::TSNSmartAudioBuffer(const TSNSmartAudioBuffer& source, std::size_t charSize,
                                         bool copyData)
    : TZTBlockStorage(source, charSize - charSize % source.GetBlockAlign(), copyData),
      FSampleRate(source.FSampleRate),
      FChannels(source.FChannels),
      FBitsPerSample(source.FBitsPerSample) {}

std::size_t TSNSmartAudioBuffer::GetBlockAlign() const noexcept {
  return BlockAlignOf(FChannels, FBitsPerSample);
}

TSNAudioBuffer::TSNAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount,
                               std::uint16_t channels, std::uint16_t bitsPerSample)
    : TKRMediaBuffer(TRefPtr<TKRSmartMediaBuffer>(
          new TSNSmartAudioBuffer(sampleRate, sampleCount, channels, bitsPerSample))) {}

TSNAudioBuffer::TSNAudioBuffer(std::uint32_t sampleRate, std::size_t sampleCount,
                               std::uint16_t channels, std::uint16_t bitsPerSample,
                               const void* samples)
    : TSNAudioBuffer(sampleRate, sampleCount, channels, bitsPerSample) {
  if (GetByteSize() > 0) std::memcpy(ByteWrite(), samples, GetByteSize());
}

TSNAudioBuffer::TSNAudioBuffer(const IZTDataBuffer& source)
    : TKRMediaBuffer(CheckedAudioSource(source)) {}

const TSNSmartAudioBuffer& TSNAudioBuffer::Audio() const noexcept {
  // Every constructor and Assign admit audio storage only, and its clones and
  // resized copies are audio storage again.
  return static_cast<const TSNSmartAudioBuffer&>(*GetDataContainer());
}

std::int64_t TSNAudioBuffer::GetDuration() const {
  return DurationOf(GetSampleCount(), GetSampleRate());
}

void TSNAudioBuffer::Assign(const IZTDataBuffer& source) {
  TKRMediaBuffer::Assign(CheckedAudioSource(source));
}

TRefPtr<IZTDataBuffer> TSNAudioBuffer::MakeCopy() const { return MakeRef<TSNAudioBuffer>(*this); }

TRefPtr<TSNAudioBuffer> TSNAudioBuffer::CopySamples(std::size_t first, std::size_t count) const {
  first = std::min(first, GetSampleCount());
  count = std::min(count, GetSampleCount() - first);
  auto copy = MakeRef<TSNAudioBuffer>(GetSampleRate(), count, GetChannels(), GetBitsPerSample());
  if (count > 0) {
    std::memcpy(copy->ByteWrite(), ByteRead() + first * GetBlockAlign(), copy->GetByteSize());
  }
  TKRMediaTimeStamp stamp = GetTimeStamp();
  if (stamp.Available) {
    stamp.Begin += DurationOf(first, GetSampleRate());
    stamp.End = stamp.Begin + DurationOf(count, GetSampleRate());
    copy->SetTimeStamp(stamp);
  }
  return copy;
}

}  // namespace qx
