#include "packages/zenthic/ZTException.h"

#include <cstdio>

namespace qx {
namespace {

std::string FormatWithCode(std::string_view message, std::uint32_t code) {
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, " - %u - %x", static_cast<unsigned>(code),
                static_cast<unsigned>(code));
  return std::string(message) + suffix;
}

}  // namespace

EZTException::EZTException(const std::string& message) : Exception(message) {}

EZTException::EZTException(std::string_view message, std::uint32_t code)
    : Exception(FormatWithCode(message, code)), FCode(code) {}

void ZTReportError(const TZTErrorEvent& onError, TPersistent* sender, const std::string& message,
                   std::uint32_t code) {
  bool handled = false;
  if (onError) onError(sender, message, code, handled);
  if (!handled) throw EZTException(message, code);
}

}  // namespace qx
