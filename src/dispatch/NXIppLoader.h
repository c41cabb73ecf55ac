// Look-up of entries in the Intel IPP shared libraries, when they are installed.
//
// The image-domain libraries (`libippi`) and the signal-domain libraries
// (`libipps`) are searched through the dynamic loader's usual path
// (LD_LIBRARY_PATH, the loader cache, the system directories). Each domain is
// opened at most once, on its first look-up, and stays loaded for the life of
// the process. Both functions are thread-safe.
#pragma once

namespace qx {

// The address of the image-domain entry `name` (spelled exactly, with case and
// suffixes), or nullptr when IPP is absent or does not export that name.
void* GetIPPIProcAddress(const char* name) noexcept;

// The same for the signal-domain entries (`ipps...`).
void* GetIPPSProcAddress(const char* name) noexcept;

}  // namespace qx
