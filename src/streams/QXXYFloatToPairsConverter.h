// TFBQXXYFloatToPairsFormatConverter: joins an XY float source to a sink of
// the signal package's pair stream.
//
// The framework builds one for each such connection (the library registers
// it with the stream types, streams/QXImageStreams.h). Each list of points
// that arrives leaves as a TFBSuppliedBufferPairOperation holding two real
// (double) buffers of the list's length: the X values in the first, the Y
// values in the second, in point order. Every other operation (starts,
// stops) passes on unchanged, and what the pair sink sends upstream reaches
// the XY source.
#pragma once

#include "packages/flowbus/FBFormatConverter.h"

namespace qx {

class TFBQXXYFloatToPairsFormatConverter : public TFBFormatConverter {
  QX_CLASS(TFBQXXYFloatToPairsFormatConverter, TFBFormatConverter)

 public:
  // The signature the framework's converter factory calls; the pins are not
  // used.
  TFBQXXYFloatToPairsFormatConverter(TFBSinkPin& target, TFBSourcePin& origin);

 protected:
  // A list without data is not sent on (false).
  bool SourceOperation(const TGUID& dataType, const TFBOperationPtr& operation,
                       TFBState state) override;
};

}  // namespace qx
