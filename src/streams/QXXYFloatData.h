// Lists of XY coordinates, as the XY float stream carries them
// (streams/QXImageStreams.h).
//
// A source fills a point array, wraps it in a TQXXYFloatData and sends it in
// a TFBQXSuppliedXYFloatDataOperation (streams/QXStreamOperations.h):
//
//   TQXFloatPointArray points = {{1.5f, 2.0f}, {3.0f, 4.25f}};
//   coordinates->SubmitData(MakeRef<TQXXYFloatData>(std::move(points)));
//
// Receivers read the points through IQXXYFloatData and never change them:
// one object reaches every sink.
#pragma once

#include <cstdint>
#include <vector>

#include "host/Guid.h"
#include "host/RefCounted.h"

namespace qx {

struct TQXFloatPoint {
  float X = 0;
  float Y = 0;

  friend bool operator==(const TQXFloatPoint&, const TQXFloatPoint&) = default;
};

using TQXFloatPointArray = std::vector<TQXFloatPoint>;

inline constexpr TGUID IID_IQXXYFloatData = TGUID::Parse("{BAC8B7C0-B645-4584-A33A-8A624C163483}");

class IQXXYFloatData : public virtual TRefCounted {
 public:
  virtual std::uint32_t GetCount() const = 0;
  // The point at `index`; a zero point for an index at or past GetCount().
  virtual TQXFloatPoint GetPoint(std::uint32_t index) const = 0;

 protected:
  ~IQXXYFloatData() override = default;
};

class TQXXYFloatData : public IQXXYFloatData {
 public:
  // All of `points`.
  explicit TQXXYFloatData(TQXFloatPointArray points);
  // The first `count` of `points` (a list filled only in part); a count past
  // the array's end is cut to its size.
  TQXXYFloatData(TQXFloatPointArray points, std::uint32_t count);

  std::uint32_t GetCount() const override { return FCount; }
  TQXFloatPoint GetPoint(std::uint32_t index) const override;

 private:
  TQXFloatPointArray FDataArray;
  std::uint32_t FCount;
};

}  // namespace qx
