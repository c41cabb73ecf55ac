#include "dispatch/DispatcherEntry.h"

#include <atomic>
#include <cstring>

#include "dispatch/NXIppLoader.h"

namespace qx::detail {
namespace {
std::atomic<int> lookUps{0};
}  // namespace

void* LookUpIppEntry(const char* name) noexcept {
  lookUps.fetch_add(1, std::memory_order_relaxed);
  return std::strncmp(name, "ipps", 4) == 0 ? GetIPPSProcAddress(name) : GetIPPIProcAddress(name);
}

int IppEntryLookUps() noexcept { return lookUps.load(std::memory_order_relaxed); }

}  // namespace qx::detail
