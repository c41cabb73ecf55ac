// Stands in for IPP's image-domain library in tests: exports two entry names
// whose calls return a status no real kernel produces, plus a signal-domain
// name that the image-domain loader must never be asked for.
#include "FakeIpp.h"

extern "C" {

int ippiAdd_8u_C3RSfs(const unsigned char*, int, const unsigned char*, int, unsigned char*, int,
                      qx::IppiSize, int) {
  return kFakeImageStatus;
}

int ippiMax_8u_C1R(const unsigned char*, int, qx::IppiSize, unsigned char*) {
  return kFakeImageStatus;
}

int ippsSwapBytes_16u_I(unsigned short*, int) { return kFakeImageStatus; }

}  // extern "C"
