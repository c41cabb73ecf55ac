// Stands in for IPP's signal-domain library in tests.
#include "FakeIpp.h"

extern "C" int ippsSwapBytes_16u_I(unsigned short*, int) { return kFakeSignalStatus; }
