// A static initialiser in a translation unit of its own, linked before the
// dispatcher's, that calls an entry while the program starts.
#include "EarlyCaller.h"

#include "dispatch/QXBasicDispatcher.h"

namespace {

qx::IppStatus CallDuringStartUp() {
  if (qx::ippiMax_8u_C1R == nullptr) return kEntryWasNull;
  const qx::Ipp8u pixels[4] = {7, 9, 250, 1};
  qx::Ipp8u max = 0;
  const qx::IppStatus status = qx::ippiMax_8u_C1R(pixels, 2, {2, 2}, &max);
  return status == qx::ippStsNoErr ? max : status;
}

}  // namespace

const qx::IppStatus gEarlyCallResult = CallDuringStartUp();
