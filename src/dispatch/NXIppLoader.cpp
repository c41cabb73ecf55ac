#include "dispatch/NXIppLoader.h"

#include <dlfcn.h>

#include <array>

namespace qx {
namespace {

// The names IPP installs on Linux: the unversioned development link first,
// then the runtime sonames of the releases that export the entries we use.
constexpr std::array kImageLibraries = {"libippi.so", "libippi.so.10"};
constexpr std::array kSignalLibraries = {"libipps.so", "libipps.so.10"};

template <std::size_t N>
void* OpenFirst(const std::array<const char*, N>& candidates) noexcept {
  for (const char* candidate : candidates) {
    if (void* handle = dlopen(candidate, RTLD_NOW | RTLD_LOCAL)) return handle;
  }
  return nullptr;
}

// Looks `name` up in the domain's library and the libraries it pulls in,
// never in the process's global scope, so a domain answers for its own
// entries alone.
void* Find(void* handle, const char* name) noexcept {
  if (handle == nullptr || name == nullptr) return nullptr;
  return dlsym(handle, name);
}

}  // namespace

void* GetIPPIProcAddress(const char* name) noexcept {
  static void* const handle = OpenFirst(kImageLibraries);
  return Find(handle, name);
}

void* GetIPPSProcAddress(const char* name) noexcept {
  static void* const handle = OpenFirst(kSignalLibraries);
  return Find(handle, name);
}

}  // namespace qx
