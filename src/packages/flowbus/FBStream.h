// Streams: the two ends of a connection, as the pins' handlers see them.
//
// A pin declares each stream type it speaks with `TFBPin::AddType(type,
// handler)`. When the pin sends an operation (`Notify`), the framework calls,
// for every connection of the pin, the pin's handler for the type the
// connection agreed on:
//
//   bool handler(IFBStream& stream, const TGUID& dataType,
//                const TFBOperationPtr& operation, TFBState state);
//
// `stream` is the connection seen from the sending pin. The handler decides
// what goes into it: the usual handler, `FBStreamNotify`, passes every
// operation on; a pin that speaks two types may pass some operations into
// connections of one type and the rest into the other. Passing an operation
// into the stream delivers it, synchronously and on the same thread, to the
// pin at the other end, whose handlers (`TFBPin::OnOperation`) run under
// that pin's lock. The handler's result is the sender's result for that
// connection.
//
// The stream reference is valid during the call only.
#pragma once

#include <cstdint>
#include <functional>

#include "host/Guid.h"
#include "packages/flowbus/FBOperations.h"

namespace qx {

class TFBPin;

// Flags that travel with an operation. The framework sets fbsShared; the
// other bits are the sender's.
using TFBState = std::uint32_t;
// The sender asks that the operation go no further than the sending pin's
// handlers: `FBStreamNotify` does not pass it into the stream.
inline constexpr TFBState fbsHeld = 1u << 0;
// The operation goes to more than one receiver: its payload is shared, so a
// receiver that wants to write into it copies it first.
inline constexpr TFBState fbsShared = 1u << 1;

// The identifier of IFBStreamNotify, the interface a stream end offers for
// passing operations on.
inline constexpr TGUID IID_IFBStreamNotify = TGUID::Parse("{20ACBC6D-DA0D-4359-8C78-CE0067D009A0}");

// One end of a connection.
class IFBStream {
 public:
  // The type the connection agreed on.
  virtual const TGUID& GetDataType() const noexcept = 0;
  // The pin whose handler holds this end, and the pin at the other end.
  virtual TFBPin& GetLocalPin() const noexcept = 0;
  virtual TFBPin& GetRemotePin() const noexcept = 0;

 protected:
  ~IFBStream() = default;
};

// Passing an operation into a stream: the pin at the other end receives it.
// A stream end that can pass operations on implements this interface too
// (find it with dynamic_cast, as `FBStreamNotify` does).
class IFBStreamNotify {
 public:
  virtual bool Notify(const TGUID& dataType, const TFBOperationPtr& operation, TFBState state) = 0;

 protected:
  ~IFBStreamNotify() = default;
};

using TFBStreamHandler = std::function<bool(IFBStream& stream, const TGUID& dataType,
                                            const TFBOperationPtr& operation, TFBState state)>;

// The pass-through handler: unless `state` holds fbsHeld, passes the
// operation into the stream and returns the receiver's result; false
// otherwise (and for a stream that cannot pass operations on).
bool FBStreamNotify(IFBStream& stream, const TGUID& dataType, const TFBOperationPtr& operation,
                    TFBState state);

}  // namespace qx
