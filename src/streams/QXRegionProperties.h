// Rectangular regions that components publish as sub-objects: the part of a
// frame a filter works on, an optional crop.
//
// A region is a TQXSize (50 x 50 until set, never zero) with a top-left
// corner (0, 0 until set). Setters behave as the size's: under the owner's
// lock, a changed value signals OnChange, nothing changes when the lock
// refuses. Assign copies what the source has of a region level by level,
// signalling after each level: from a TQXOptionalRectRegion into another,
// Enabled, then Left and Top, then Width and Height, three signals.
#pragma once

#include <cstdint>

#include "streams/QXSizeProperties.h"

namespace qx {

class TQXRectRegion : public TQXSize {
  QX_CLASS(TQXRectRegion, TQXSize)

 public:
  TQXRectRegion(TComponent* owner, TRefPtr<IFBLock> lock, TChangeEvent onChange = {});

  std::uint16_t GetLeft() const;
  std::uint16_t GetTop() const;
  void SetLeft(std::uint16_t value);
  void SetTop(std::uint16_t value);

  // Takes Left and Top of another TQXRectRegion and signals, then width and
  // height of any TQXSize as TQXSize::Assign; raises EAssignError for any
  // other source.
  void Assign(const TPersistent& source) override;

 private:
  std::uint16_t FLeft = 0;
  std::uint16_t FTop = 0;
};

// A region that applies only when Enabled (false until set).
class TQXOptionalRectRegion : public TQXRectRegion {
  QX_CLASS(TQXOptionalRectRegion, TQXRectRegion)

 public:
  using TQXRectRegion::TQXRectRegion;

  bool GetEnabled() const;
  void SetEnabled(bool value);

  // Takes Enabled of another TQXOptionalRectRegion and signals, then the
  // region as TQXRectRegion::Assign.
  void Assign(const TPersistent& source) override;

 private:
  bool FEnabled = false;
};

}  // namespace qx
