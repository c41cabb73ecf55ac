// The stamp accessors of TQXImageBuffer and its two view objects: each reads
// or writes the field of the storage the buffer holds, in place.
#include "image/QXTimeCode.h"

#include "image/QXImageBuffer.h"

namespace qx {

#define QX_BUFFER_STAMP_ACCESSORS(stamp, type, name)                                       \
  type TQXImageBuffer::Get##stamp##name() const { return GetBuffer().Get##stamp##name(); } \
  void TQXImageBuffer::Set##stamp##name(type value) { GetBuffer().Set##stamp##name(value); }
#define QX_VIEW_STAMP_ACCESSORS(view, stamp, type, name)              \
  type view::Get##name() const { return FBuffer.Get##stamp##name(); } \
  void view::Set##name(type value) { FBuffer.Set##stamp##name(value); }

#define QX_TIME_CODE_ACCESSORS(type, name)        \
  QX_BUFFER_STAMP_ACCESSORS(TimeCode, type, name) \
  QX_VIEW_STAMP_ACCESSORS(TQXTimeCode, TimeCode, type, name)
#define QX_DATE_TIME_ACCESSORS(type, name)        \
  QX_BUFFER_STAMP_ACCESSORS(DateTime, type, name) \
  QX_VIEW_STAMP_ACCESSORS(TQXDateTime, DateTime, type, name)

QX_TIME_CODE_FIELDS(QX_TIME_CODE_ACCESSORS)
QX_DATE_TIME_FIELDS(QX_DATE_TIME_ACCESSORS)

}  // namespace qx
