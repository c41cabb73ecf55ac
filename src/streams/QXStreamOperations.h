// The operations of the image and XY float streams.
//
// A source sends, on an image stream:
//
//   1. a TFBStartFrameOperation (or TQXInternalStartFrameOperation) with the
//      geometry and frame duration of the frames to come;
//   2. the frames, each an IQXImageBuffer of that size and format, already
//      stamped, through TZTFBSourcePin::SubmitBuffer;
//   3. optionally a TFBSoftStartFrameOperation when size, format or rate
//      change mid-stream, then more frames;
//   4. a TFBSoftStopOperation or the pin's Stop at the end.
//
// Receivers tell the operations apart by class, the most derived first:
//
//   if (auto soft = RefCast<TFBSoftStartFrameOperation>(op)) { ... }
//   else if (auto start = RefCast<TFBStartFrameOperation>(op)) { ... }
//
// Every start frame is also a TFBStartSampleRateOperation whose rate is the
// frame rate, so that sinks written for the signal package's streams see a
// start with a rate.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "image/QXVideoFormat.h"
#include "packages/flowbus/FBOperations.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "streams/QXXYFloatData.h"

namespace qx {

// Frame durations and times are in 100-ns units: 10 000 000 per second.
inline constexpr double QXTimeUnitsPerSecond = 10'000'000.0;

class TFBStartFrameOperation : public TFBStartSampleRateOperation {
 public:
  // `frameDelay` is the duration of one frame in 100-ns units; 0 is taken as
  // 1. The sample rate is 10 000 000 / frameDelay frames per second.
  // `interlaceFlags` are the source's (capture and players say which);
  // `ratioWidth`:`ratioHeight` is the picture aspect ratio.
  TFBStartFrameOperation(std::int32_t width, std::int32_t height, std::int32_t frameDelay,
                         TQXVideoFormat videoFormat, std::uint32_t interlaceFlags,
                         std::uint32_t ratioWidth, std::uint32_t ratioHeight)
      : TFBStartSampleRateOperation(QXTimeUnitsPerSecond /
                                    static_cast<double>(StoredDelay(frameDelay))),
        FWidth(width),
        FHeight(height),
        FFrameDelay(StoredDelay(frameDelay)),
        FVideoFormat(videoFormat),
        FInterlaceFlags(interlaceFlags),
        FRatioWidth(ratioWidth),
        FRatioHeight(ratioHeight) {}

  std::int32_t GetWidth() const noexcept { return FWidth; }
  std::int32_t GetHeight() const noexcept { return FHeight; }
  std::int64_t GetFrameDelay() const noexcept { return FFrameDelay; }
  TQXVideoFormat GetVideoFormat() const noexcept { return FVideoFormat; }
  std::uint32_t GetInterlaceFlags() const noexcept { return FInterlaceFlags; }
  std::uint32_t GetRatioWidth() const noexcept { return FRatioWidth; }
  std::uint32_t GetRatioHeight() const noexcept { return FRatioHeight; }

 private:
  static std::int64_t StoredDelay(std::int32_t frameDelay) noexcept {
    return frameDelay == 0 ? 1 : frameDelay;
  }
  std::int32_t FWidth;
  std::int32_t FHeight;
  std::int64_t FFrameDelay;
  TQXVideoFormat FVideoFormat;
  std::uint32_t FInterlaceFlags;
  std::uint32_t FRatioWidth;
  std::uint32_t FRatioHeight;
};

// The stream goes on with a new size, format or rate: receivers adapt
// instead of starting over.
class TFBSoftStartFrameOperation : public TFBStartFrameOperation {
 public:
  using TFBStartFrameOperation::TFBStartFrameOperation;
};

// A start that carries the name of the file the frames are for (the common
// logger sends it to itself).
class TQXInternalStartFrameOperation : public TFBStartFrameOperation {
 public:
  TQXInternalStartFrameOperation(std::string fileName, std::int32_t width, std::int32_t height,
                                 std::int32_t frameDelay, TQXVideoFormat videoFormat,
                                 std::uint32_t interlaceFlags, std::uint32_t ratioWidth,
                                 std::uint32_t ratioHeight)
      : TFBStartFrameOperation(width, height, frameDelay, videoFormat, interlaceFlags, ratioWidth,
                               ratioHeight),
        FFileName(std::move(fileName)) {}

  const std::string& GetFileName() const noexcept { return FFileName; }

 private:
  std::string FFileName;
};

// The stream ends for now; unlike the pin's Stop (a TFBStopOperation), a
// filter passes it on without ending its own output.
class TFBSoftStopOperation : public TFBNotifyOperation {};

// Receivers are to ignore the video stream, whose frames would be in
// `videoFormat`.
class TFBIgnoreVideoStreamOperation : public TFBIgnoreStreamOperation {
 public:
  explicit TFBIgnoreVideoStreamOperation(TQXVideoFormat videoFormat) : FVideoFormat(videoFormat) {}
  TQXVideoFormat GetVideoFormat() const noexcept { return FVideoFormat; }

 private:
  TQXVideoFormat FVideoFormat;
};

// A data buffer for the raw stream, not for image sinks: a raw source pin
// passes it only into raw connections (streams/QXImagePins.h).
class TFBSuppliedRawBufferOperation : public TFBSuppliedBufferOperation {
 public:
  using TFBSuppliedBufferOperation::TFBSuppliedBufferOperation;
};

// A list of points on the XY float stream.
class TFBQXSuppliedXYFloatDataOperation : public TFBSuppliedPayloadOperation {
 public:
  explicit TFBQXSuppliedXYFloatDataOperation(TRefPtr<IQXXYFloatData> data)
      : TFBSuppliedPayloadOperation(std::move(data)) {}
  // Null only when constructed so.
  TRefPtr<IQXXYFloatData> GetData() const { return GetPayloadAs<IQXXYFloatData>(); }
};

}  // namespace qx
