// The audio stream: audio buffers (ISNAudioBuffer) travelling as
// TFBSuppliedBufferOperation, after a TFBStartWaveOperation that names their
// format (packages/sonquo/SNWaveOperations.h).
//
// `SNRegisterStreams` registers it with the pin framework, with the signal
// package's channel handler as its default. The audio pins call it before
// declaring the type; a program that registers converters from or to the
// audio stream calls it first at start-up. Calling it again does nothing.
#pragma once

#include "host/Guid.h"

namespace qx {

inline constexpr TGUID IID_IFBSNAudioStream =
    TGUID::Parse("{6E3A1C52-8B4D-4F0E-9C27-5D1B3A8E7F46}");
inline constexpr const char* SNAudioStreamName = "SN Audio stream";

void SNRegisterStreams();

}  // namespace qx
