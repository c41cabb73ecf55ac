// The two optional stamps a frame's storage carries besides its media time
// stamp: the time code (hours, minutes, seconds, frames) and the capture
// date and time. A new storage has neither (both `Available` flags false);
// copies and conversions of a storage do not carry them.
//
// Each stamp's fields are listed once, as FIELD(type, name), so that the
// storage, the image buffer and the view objects declare matching accessors
// from the same list:
//
//   time code:  Available, Frame, Sec, Min, Hour
//   date-time:  Available, Millisec, Sec, Min, Hour, Day, Month, Year (four digits)
#pragma once

#include <cstdint>

#define QX_TIME_CODE_FIELDS(FIELD) \
  FIELD(bool, Available)           \
  FIELD(std::int32_t, Frame)       \
  FIELD(std::int32_t, Sec)         \
  FIELD(std::int32_t, Min)         \
  FIELD(std::int32_t, Hour)

#define QX_DATE_TIME_FIELDS(FIELD) \
  FIELD(bool, Available)           \
  FIELD(std::int32_t, Millisec)    \
  FIELD(std::int32_t, Sec)         \
  FIELD(std::int32_t, Min)         \
  FIELD(std::int32_t, Hour)        \
  FIELD(std::int32_t, Day)         \
  FIELD(std::int32_t, Month)       \
  FIELD(std::int32_t, Year)

namespace qx {

#define QX_STAMP_MEMBER(type, name) type name{};

struct TQXTimeCodeStamp {
  QX_TIME_CODE_FIELDS(QX_STAMP_MEMBER)
};

struct TQXDateTimeStamp {
  QX_DATE_TIME_FIELDS(QX_STAMP_MEMBER)
};

#undef QX_STAMP_MEMBER

}  // namespace qx
