#include "streams/QXXYFloatData.h"

#include <algorithm>
#include <utility>

namespace qx {

TQXXYFloatData::TQXXYFloatData(TQXFloatPointArray points)
    : TQXXYFloatData(std::move(points), UINT32_MAX) {}

TQXXYFloatData::TQXXYFloatData(TQXFloatPointArray points, std::uint32_t count)
    : FDataArray(std::move(points)),
      FCount(static_cast<std::uint32_t>(std::min<std::size_t>(count, FDataArray.size()))) {}

TQXFloatPoint TQXXYFloatData::GetPoint(std::uint32_t index) const {
  return index < FCount ? FDataArray[index] : TQXFloatPoint{};
}

}  // namespace qx
