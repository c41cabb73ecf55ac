#include "streams/QXXYFloatToPairsConverter.h"

#include "packages/zenthic/NXBufferPair.h"
#include "packages/zenthic/ZTBufferOperations.h"
#include "packages/zenthic/ZTRealBuffer.h"
#include "packages/zenthic/ZTStreams.h"
#include "streams/QXImageStreams.h"
#include "streams/QXStreamOperations.h"

namespace qx {

const TClassInfo& TFBQXXYFloatToPairsFormatConverter::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBQXXYFloatToPairsFormatConverter>();
  return info;
}

TFBQXXYFloatToPairsFormatConverter::TFBQXXYFloatToPairsFormatConverter(TFBSinkPin&, TFBSourcePin&)
    : TFBFormatConverter(IID_IFBQXXYFloatDataStream, ZTBufferPairStreamID) {}

namespace {

TRefPtr<TNXBufferPair> SplitIntoXAndY(const IQXXYFloatData& data) {
  const std::uint32_t count = data.GetCount();
  auto xs = MakeRef<TZTRealBuffer>(count);
  auto ys = MakeRef<TZTRealBuffer>(count);
  double* x = xs->Write();
  double* y = ys->Write();
  for (std::uint32_t i = 0; i < count; ++i) {
    const TQXFloatPoint point = data.GetPoint(i);
    x[i] = point.X;
    y[i] = point.Y;
  }
  return MakeRef<TNXBufferPair>(std::move(xs), std::move(ys));
}

}  // namespace

bool TFBQXXYFloatToPairsFormatConverter::SourceOperation(const TGUID& dataType,
                                                         const TFBOperationPtr& operation,
                                                         TFBState state) {
  auto points = RefCast<TFBQXSuppliedXYFloatDataOperation>(operation);
  if (!points) return TFBFormatConverter::SourceOperation(dataType, operation, state);
  const TRefPtr<IQXXYFloatData> data = points->GetData();
  if (!data) return false;
  return GetOutputPin().Notify(MakeRef<TFBSuppliedBufferPairOperation>(SplitIntoXAndY(*data)),
                               state);
}

}  // namespace qx
