// The second frame of two-frame image operations and the common region.
#include "image/QXImageOperands.h"

#include <algorithm>

namespace qx::detail {

TFrameInFormat::TFrameInFormat(const IQXImageBuffer& frame, TQXVideoFormat format)
    : FFrame(&frame) {
  if (frame.GetFormat() == format) return;
  FConverted = MakeRef<TQXImageBuffer>(frame);
  FConverted->SetFormat(format);
  FFrame = FConverted.Get();
}

IppiSize CommonSize(const IQXImageBuffer& image, const IQXImageBuffer& operand) {
  return {static_cast<int>(std::min(image.GetWidth(), operand.GetWidth())),
          static_cast<int>(std::min(image.GetHeight(), operand.GetHeight()))};
}

TFrameRegion CommonRegion(TQXImageBuffer& image, const IQXImageBuffer& operand) {
  TFrameRegion region;
  region.Size = CommonSize(image, operand);
  if (region.IsEmpty()) return region;
  region.Pixels = image.Modify();
  region.Step = static_cast<int>(image.GetStep());
  region.Operand = operand.Read();
  region.OperandStep = static_cast<int>(operand.GetStep());
  return region;
}

}  // namespace qx::detail
