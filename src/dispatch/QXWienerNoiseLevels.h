// TQXWienerNoiseLevels: the per-channel noise levels of a Wiener filter.
//
// The four levels are kept in the order blue, green, red, alpha, so that
// `GetNoiseArray()` can be handed straight to a Wiener entry
// (`ippiFilterWiener_8u_C3R` and kin) as its noise array; an entry that is
// given a level of 0 estimates the noise and writes the estimate back here.
//
// A Wiener entry accepts levels in [0, 1). The setters keep every level in
// that range: 1 or more becomes 0.99999899 (the float just below 1 that the
// entries accept), below 0 (or not a number) becomes 0. A new object holds 0
// in all four levels. Published properties: Red, Green, Blue, Alpha (always
// stored: they have no default).
#pragma once

#include <array>

#include "dispatch/IppTypes.h"
#include "host/Persistent.h"

namespace qx {

class TQXWienerNoiseLevels : public TPersistent {
  QX_CLASS(TQXWienerNoiseLevels, TPersistent)

 public:
  // The largest level the setters store.
  static const Ipp32f kMaxLevel;

  Ipp32f GetRed() const noexcept { return FLevels[kRed]; }
  void SetRed(Ipp32f value) noexcept { FLevels[kRed] = Clamp(value); }
  Ipp32f GetGreen() const noexcept { return FLevels[kGreen]; }
  void SetGreen(Ipp32f value) noexcept { FLevels[kGreen] = Clamp(value); }
  Ipp32f GetBlue() const noexcept { return FLevels[kBlue]; }
  void SetBlue(Ipp32f value) noexcept { FLevels[kBlue] = Clamp(value); }
  Ipp32f GetAlpha() const noexcept { return FLevels[kAlpha]; }
  void SetAlpha(Ipp32f value) noexcept { FLevels[kAlpha] = Clamp(value); }

  // The levels as a Wiener entry's noise array: blue, green, red, alpha.
  Ipp32f* GetNoiseArray() noexcept { return FLevels.data(); }

  // From another TQXWienerNoiseLevels: copies Red, Green and Blue through the
  // setters and keeps this object's Alpha.
  void Assign(const TPersistent& source) override;

 private:
  enum : std::size_t { kBlue, kGreen, kRed, kAlpha };
  static Ipp32f Clamp(Ipp32f value) noexcept;

  std::array<Ipp32f, 4> FLevels{};
};

}  // namespace qx
