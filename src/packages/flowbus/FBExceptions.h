// The exception the pin framework raises for misuse: an unregistered stream
// type, pins that share no stream type, a pin connected to itself or to a
// pin that is shutting down.
#pragma once

#include "host/Exceptions.h"

namespace qx {

class EFBError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace qx
