// The signal package's error class and the error and warning events that
// components report through.
//
// A component reports a failure by calling its `OnError` handler with
// `Handled` false. When no handler is assigned, or the handler leaves
// `Handled` false, the failure is raised as an EZTException whose message
// reads "<message> - <code in decimal> - <code in hexadecimal>".
// `ZTReportError` does exactly that. Warnings go to `OnWarning` and never
// raise.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "host/Exceptions.h"

namespace qx {

class TPersistent;

class EZTException : public Exception {
 public:
  // An error with a message only; its code is 0.
  explicit EZTException(const std::string& message);
  // An error with a code: the message reads "<message> - <code> - <code in
  // hexadecimal>", for example "Can't start capture. - 2147500037 - 80004005".
  EZTException(std::string_view message, std::uint32_t code);

  std::uint32_t GetCode() const noexcept { return FCode; }

 private:
  std::uint32_t FCode = 0;
};

// (Sender, message, code, Handled): set Handled to keep the error from being
// raised.
using TZTErrorEvent = std::function<void(TPersistent* sender, const std::string& message,
                                         std::uint32_t code, bool& handled)>;

// (Sender, message, code): a failure the sender reports and goes on after.
using TZTWarningEvent =
    std::function<void(TPersistent* sender, const std::string& message, std::uint32_t code)>;

// Calls `onError` (when assigned) with Handled false, then raises
// EZTException(message, code) unless the handler set Handled.
void ZTReportError(const TZTErrorEvent& onError, TPersistent* sender, const std::string& message,
                   std::uint32_t code);

}  // namespace qx
