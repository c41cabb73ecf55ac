// The library's stream types: images, raw capture blocks and lists of XY
// coordinates.
//
// - The image stream carries, after a TFBStartFrameOperation that announces
//   their geometry and rate (streams/QXStreamOperations.h), frames as
//   TFBSuppliedBufferOperation holding an IQXImageBuffer, and ends with a
//   stop. Its pins are in streams/QXImagePins.h.
// - The raw stream carries the undecoded blocks of a capture device as
//   TFBSuppliedRawBufferOperation, beside the image stream of the same
//   source pin (TQXFBImageRawSourcePin).
// - The XY float stream carries lists of points (IQXXYFloatData) in
//   TFBQXSuppliedXYFloatDataOperation; a registered converter turns it into
//   the signal package's pair stream, X values in the first buffer and Y
//   values in the second (streams/QXXYFloatToPairsConverter.h).
//
// All three are registered with the pin framework when the library is
// loaded, with the signal package's channel handler as their default. The
// library's pins call `QXRegisterStreams` again before declaring a type, so
// a pin created during another library's static initialisation finds the
// types registered whatever the order; a program may call it as well.
// Calling it again does nothing.
#pragma once

#include "host/Guid.h"

namespace qx {

inline constexpr TGUID IID_IFBQXImageStream =
    TGUID::Parse("{877BD684-2669-4F1E-8BA8-E76EE35E5946}");
inline constexpr const char* QXImageStreamName = "QX Image stream";

inline constexpr TGUID IID_IFBQXXYFloatDataStream =
    TGUID::Parse("{1175C7F8-7636-4EFD-9AF1-A8F3551981A7}");
inline constexpr const char* QXXYFloatDataStreamName = "XY Float Coordinates stream";

inline constexpr TGUID IID_IFBQXRawStream = TGUID::Parse("{BD807B57-05AE-44E0-A99F-3D9BAD83395E}");
inline constexpr const char* QXRawStreamName = "QX Raw stream";

// Registers the three stream types, their default handlers and the
// XY-to-pairs converter (and the signal package's pair stream it targets).
void QXRegisterStreams();

}  // namespace qx
