#include <dispatch/NXIppLoader.h>

#include <cstdio>

int main() {
  // Without IPP on the machine the look-up answers null; either answer proves the link.
  std::printf("ippiAdd_8u_C3RSfs %s\n",
              qx::GetIPPIProcAddress("ippiAdd_8u_C3RSfs") ? "found" : "absent");
  return 0;
}
