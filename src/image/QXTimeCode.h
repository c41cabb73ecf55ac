// TQXTimeCode and TQXDateTime: views of the time code and the capture date
// and time of the frame an image buffer holds.
//
// Every image buffer owns one of each (GetTimeCode, GetDateTime); they live
// as long as the buffer and are never freed by callers. Each property reads
// or writes the field of the storage the buffer holds at that moment,
// directly, without unsharing it: every buffer sharing the storage sees the
// change. A source stamps a frame before sending it on, while it is still its
// only holder.
//
//   frame->GetTimeCode().SetAvailable(true);
//   frame->GetTimeCode().SetHour(23);
//   if (frame->GetDateTime().GetAvailable()) year = frame->GetDateTime().GetYear();
#pragma once

#include <cstdint>

#include "image/QXFrameStamps.h"

namespace qx {

class TQXImageBuffer;

#define QX_STAMP_VIEW_ACCESSORS(type, name) \
  type Get##name() const;                   \
  void Set##name(type value);

// Properties Available, Frame, Sec, Min, Hour.
class TQXTimeCode {
 public:
  explicit TQXTimeCode(TQXImageBuffer& buffer) noexcept : FBuffer(buffer) {}
  TQXTimeCode(const TQXTimeCode&) = delete;
  TQXTimeCode& operator=(const TQXTimeCode&) = delete;

  QX_TIME_CODE_FIELDS(QX_STAMP_VIEW_ACCESSORS)

 private:
  TQXImageBuffer& FBuffer;
};

// Properties Available, Millisec, Sec, Min, Hour, Day, Month, Year (four digits).
class TQXDateTime {
 public:
  explicit TQXDateTime(TQXImageBuffer& buffer) noexcept : FBuffer(buffer) {}
  TQXDateTime(const TQXDateTime&) = delete;
  TQXDateTime& operator=(const TQXDateTime&) = delete;

  QX_DATE_TIME_FIELDS(QX_STAMP_VIEW_ACCESSORS)

 private:
  TQXImageBuffer& FBuffer;
};

#undef QX_STAMP_VIEW_ACCESSORS

}  // namespace qx
