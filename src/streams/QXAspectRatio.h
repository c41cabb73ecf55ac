// The picture aspect ratio a display or filter applies, published as a
// sub-object.
//
// Mode arAuto (the default) takes the ratio the stream announces
// (TFBStartFrameOperation's RatioWidth:RatioHeight), arNone ignores it and
// arCustom uses Width:Height (4:3 until set). The component decides what the
// values mean; this object only holds them. Setters run under the owner's
// lock and call OnChange after each change, still under the lock; nothing
// changes when the lock refuses.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/EnumNames.h"
#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {

enum TQXAspectRatioMode : std::uint8_t { arNone = 0, arAuto = 1, arCustom = 2 };

// The two terms of a ratio, read under the owner's lock; published by
// derived classes.
class TQXBasicAspectRatio : public TNXLockedPersistentNotify {
  QX_CLASS(TQXBasicAspectRatio, TNXLockedPersistentNotify)

 public:
  using TNXLockedPersistentNotify::TNXLockedPersistentNotify;

  std::uint32_t GetWidth() const;
  std::uint32_t GetHeight() const;

 protected:
  std::uint32_t FWidth = 4;
  std::uint32_t FHeight = 3;
};

class TQXAspectRatio : public TQXBasicAspectRatio {
  QX_CLASS(TQXAspectRatio, TQXBasicAspectRatio)

 public:
  using TQXBasicAspectRatio::TQXBasicAspectRatio;

  TQXAspectRatioMode GetMode() const;
  void SetMode(TQXAspectRatioMode value);
  // The custom ratio's terms; published without defaults (always stored).
  void SetWidth(std::uint32_t value);
  void SetHeight(std::uint32_t value);

 private:
  TQXAspectRatioMode FMode = arAuto;
};

}  // namespace qx

template <>
struct qx::TEnumNames<qx::TQXAspectRatioMode> {
  static constexpr std::string_view TypeName = "TQXAspectRatioMode";
  static constexpr TEnumValueName<TQXAspectRatioMode> Values[] = {
      {arNone, "arNone"}, {arAuto, "arAuto"}, {arCustom, "arCustom"}};
};
