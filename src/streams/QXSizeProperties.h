// Points and sizes that components publish as sub-objects: positions of
// overlays, output sizes of filters, kernel mask sizes.
//
//   class TMyFilter : public TComponent {
//     ...
//     TRefPtr<IFBLock> FLock = FBCreateLock();
//     TQXFilterOutputSize FOutputSize{this, FLock, [this](TNXLockedPersistentNotify&) {
//       OutputSizeChanged();  // under FLock
//     }};
//   };
//
// Every setter runs under the owner's lock, stores a value that differs and
// then calls OnChange (the base's change event), still under the lock;
// nothing changes when the lock refuses (the owner is being destroyed).
// Assign copies the source's values as they are, without the setters' limits,
// and then signals, except TQXIntegerSize, whose Assign is silent (an owner
// may assign it from within its own change handler).
#pragma once

#include <cstdint>

#include "dispatch/IppTypes.h"
#include "packages/zenthic/NXLockedPersistent.h"

namespace qx {

// A position in pixels; (0, 0) until set.
class TQXPoint : public TNXLockedPersistentNotify {
  QX_CLASS(TQXPoint, TNXLockedPersistentNotify)

 public:
  using TNXLockedPersistentNotify::TNXLockedPersistentNotify;

  std::uint16_t GetX() const;
  std::uint16_t GetY() const;
  void SetX(std::uint16_t value);
  void SetY(std::uint16_t value);

  // Takes X and Y of another TQXPoint and signals; raises EAssignError for
  // any other source.
  void Assign(const TPersistent& source) override;

 private:
  std::uint16_t FX = 0;
  std::uint16_t FY = 0;
};

// A size of up to 65535 x 65535 pixels, 50 x 50 until set. A width or height
// set to 0 becomes 1 unless the size was built to allow zero.
class TQXSize : public TNXLockedPersistentNotify {
  QX_CLASS(TQXSize, TNXLockedPersistentNotify)

 public:
  TQXSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange, bool allowZero);

  std::uint16_t GetWidth() const;
  std::uint16_t GetHeight() const;
  void SetWidth(std::uint16_t value);
  void SetHeight(std::uint16_t value);
  bool GetAllowZero() const noexcept { return FAllowZero; }
  // (Width, Height) read together, as the kernels take a region.
  IppiSize GetSize() const;

  // Takes width and height of any TQXSize (zeros included) and signals;
  // raises EAssignError for any other source.
  void Assign(const TPersistent& source) override;

 protected:
  // For derived sizes with other initial values.
  TQXSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange, bool allowZero,
          std::uint16_t width, std::uint16_t height);

 private:
  std::uint16_t FWidth;
  std::uint16_t FHeight;
  bool FAllowZero;
};

// The size a filter scales its output to: 240 x 180 until set, never zero.
class TQXFilterOutputSize : public TQXSize {
  QX_CLASS(TQXFilterOutputSize, TQXSize)

 public:
  TQXFilterOutputSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange = {});
};

// The size of a filter's neighbourhood (kernel mask): 4 x 4 until set, never
// zero.
class TQXMaskSize : public TQXSize {
  QX_CLASS(TQXMaskSize, TQXSize)

 public:
  TQXMaskSize(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange = {});
};

// A size in signed 32-bit terms, 50 x 50 until set; a width or height set
// below 1 becomes 1.
class TQXIntegerSize : public TNXLockedPersistentNotify {
  QX_CLASS(TQXIntegerSize, TNXLockedPersistentNotify)

 public:
  using TNXLockedPersistentNotify::TNXLockedPersistentNotify;

  std::int32_t GetWidth() const;
  std::int32_t GetHeight() const;
  void SetWidth(std::int32_t value);
  void SetHeight(std::int32_t value);
  IppiSize GetSize() const;

  // Takes width and height of a TQXSize (widened) or of another
  // TQXIntegerSize without signalling; raises EAssignError for any other
  // source.
  void Assign(const TPersistent& source) override;

 private:
  std::int32_t FWidth = 50;
  std::int32_t FHeight = 50;
};

}  // namespace qx
