#include "dispatch/QXWienerNoiseLevels.h"

#include <bit>
#include <cstdint>

#include "host/Properties.h"

namespace qx {

const Ipp32f TQXWienerNoiseLevels::kMaxLevel = std::bit_cast<Ipp32f>(std::uint32_t{0x3F7FFFEF});

const TClassInfo& TQXWienerNoiseLevels::StaticClassInfo() {
  using T = TQXWienerNoiseLevels;
  static const TClassInfo info = TClassInfo::Of<T>({
      Property<Ipp32f>("Red", &T::GetRed, &T::SetRed),
      Property<Ipp32f>("Green", &T::GetGreen, &T::SetGreen),
      Property<Ipp32f>("Blue", &T::GetBlue, &T::SetBlue),
      Property<Ipp32f>("Alpha", &T::GetAlpha, &T::SetAlpha),
  });
  return info;
}

Ipp32f TQXWienerNoiseLevels::Clamp(Ipp32f value) noexcept {
  if (value >= 1.0f) return kMaxLevel;
  // Written so that a NaN, which fails every comparison, also becomes 0.
  return value >= 0.0f ? value : 0.0f;
}

void TQXWienerNoiseLevels::Assign(const TPersistent& source) {
  const auto* levels = dynamic_cast<const TQXWienerNoiseLevels*>(&source);
  if (levels == nullptr) {
    inherited::Assign(source);
    return;
  }
  SetRed(levels->GetRed());
  SetGreen(levels->GetGreen());
  SetBlue(levels->GetBlue());
}

}  // namespace qx
