// The signal package's control operations.
//
// Sources send the pause and resume operations through their pins when the
// stream halts and goes on without ending; the time-supplied string carries
// text with the media time it belongs to (captions). The internal stop never
// travels through a pin: a component queues it (TZTOperationList) to mark,
// among queued data, where one output ends and the next begins.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "packages/flowbus/FBOperations.h"
#include "packages/flowbus/FBValueOperations.h"

namespace qx {

// The source pauses: no data follows until a TFBZTResumeOperation. The
// stream is not ended; receivers keep their state.
class TFBZTPauseOperation : public TFBNotifyOperation {};

// The source goes on after a TFBZTPauseOperation.
class TFBZTResumeOperation : public TFBNotifyOperation {};

// A string (TFBSuppliedStringOperation, so string sinks take it as any
// string) with the time it belongs to, in 100-ns units of media time.
class TFBZTTimeSuppliedStringOperation : public TFBSuppliedStringOperation {
 public:
  TFBZTTimeSuppliedStringOperation(std::string text, std::int64_t time)
      : TFBSuppliedStringOperation(std::move(text)), FTime(time) {}
  std::int64_t GetTime() const noexcept { return FTime; }

 private:
  std::int64_t FTime;
};

// Within a component's queue: what was queued before belongs to the output
// that ends here. Deliberately not a TFBStopOperation, so that code telling
// stream stops apart never takes it for one.
class TZTInternalStopOperation : public TFBNotifyOperation {};

}  // namespace qx
