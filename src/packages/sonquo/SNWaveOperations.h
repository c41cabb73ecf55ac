// TFBStartWaveOperation: an audio stream starts, in the wave format it
// carries.
//
// Sources send it through their audio pins before the first buffer and
// again whenever the format changes; receivers keep a copy of the format
// (GetFormat) to make sense of the buffers that follow.
#pragma once

#include <utility>

#include "packages/flowbus/FBOperations.h"
#include "packages/sonquo/SNWaveFormat.h"

namespace qx {

// A start that names its rate like every TFBStartSampleRateOperation: here
// the buffers per second the source delivers (capture devices announce 100,
// a buffer every 10 ms), a figure for pacing. The samples' own rate is the
// format's nSamplesPerSec.
class TFBStartWaveOperation : public TFBStartSampleRateOperation {
 public:
  // `format` is copied whole: the WAVEFORMATEX and its extra bytes (an
  // extensible format keeps its channel mask and sub-format). `paused`: the
  // source starts paused, and a TFBZTResumeOperation will follow before data.
  TFBStartWaveOperation(float bufferRate, TSNWaveFormat format, bool paused)
      : TFBStartSampleRateOperation(bufferRate), FFormat(std::move(format)), FPaused(paused) {}
  // A bare WAVEFORMATEX has no extra bytes: its cbSize must be 0, else the
  // constructor raises EZTException rather than read past the structure.
  TFBStartWaveOperation(float bufferRate, const WAVEFORMATEX& format, bool paused)
      : TFBStartWaveOperation(bufferRate, TSNWaveFormat(&format, sizeof format), paused) {}
  TFBStartWaveOperation(float bufferRate, const WAVEFORMATEXTENSIBLE& format, bool paused)
      : TFBStartWaveOperation(bufferRate, TSNWaveFormat(format), paused) {}

  const TSNWaveFormat& GetFormat() const noexcept { return FFormat; }
  bool IsPaused() const noexcept { return FPaused; }

 private:
  TSNWaveFormat FFormat;
  bool FPaused;
};

}  // namespace qx
