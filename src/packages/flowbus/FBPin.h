// TFBPin: the base of every pin.
//
// A pin belongs to a component (it is a component owned by it, with a name
// that form files use: "Capture1.OutputPin") and shares the component's lock
// (packages/flowbus/FBLock.h). It declares the stream types it speaks with
// `AddType`, in order of preference, and is connected to pins of the other
// direction: a source pin (packages/flowbus/FBSourcePin.h) to any number of
// sink pins, a sink pin (packages/flowbus/FBSinkPin.h) to one source.
//
// Sending. `Notify` delivers an operation synchronously, on the calling
// thread, through every connection of the pin: downstream from a source,
// upstream from a sink. For each connection the pin's handler for the
// connection's agreed type decides what passes (packages/flowbus/FBStream.h).
// The result is true when at least one receiver returned true. The
// framework sets fbsShared in the state when the pin has more than one
// connection.
//
// Receiving. An operation arriving at a pin runs the pin's `OnOperation`
// (or a derived pin's override of `Receive`/`DispatchData`) on the
// sender's thread, with the pin's lock entered; when the entry is refused
// (the component is being destroyed) the operation is dropped and the
// result is false. A pin without `OnOperation` answers false.
//
// Threads. `Notify`, `Connect`, `Disconnect` and `Shutdown` may be called
// from any thread, also from inside a handler. `AddType` and `OnOperation`
// are set up before the pin is connected.
//
// Guarantees:
// - Operations sent by one thread through one pin arrive at each receiver in
//   the order they were sent.
// - A delivery that has begun runs to the end, even if the pins are
//   disconnected meanwhile; `Disconnect` returns only after every delivery
//   through the connection on other threads has ended (except where waiting
//   would deadlock: see packages/flowbus/FBLock.h), and no delivery through
//   it begins afterwards.
// - `Shutdown` disconnects the pin and waits until no other thread runs into
//   it; afterwards `Notify` does nothing and returns false, and connecting
//   raises EFBError.
//
// Destruction. The component shuts its pins down first thing in its
// destructor, after `BeginDestroy` on its lock: a handler bound to the
// component must not run while its members go away. A pin class that
// overrides `Receive` or `DispatchData` calls `Shutdown` in its own
// destructor. A pin is never destroyed from inside one of its own handlers.
#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "host/Component.h"
#include "host/Guid.h"
#include "packages/flowbus/FBLock.h"
#include "packages/flowbus/FBStream.h"

namespace qx {

namespace detail {
class TPinCore;
struct TPinAccess;
}  // namespace detail

class TFBPin;

// The handler of operations arriving at a pin: the receiving pin, the type
// of the connection it came through, the operation, the sender's state.
using TFBOperationEvent = std::function<bool(TFBPin& sender, const TGUID& dataType,
                                             const TFBOperationPtr& operation, TFBState state)>;

class TFBPin : public TComponent {
  QX_CLASS(TFBPin, TComponent)

 public:
  ~TFBPin() override;

  // The component's lock, or null for a pin without one.
  IFBLock* GetLock() const noexcept { return FLock.Get(); }

  // Declares that the pin speaks `dataType` (registered with
  // FBRegisterStream, else EFBError), with the handler the pin sends
  // through on connections of that type (empty: the type's registered
  // default handler). Declaring a type again replaces its handler for
  // connections made afterwards.
  void AddType(const TGUID& dataType, TFBStreamHandler handler = {});
  // The declared types, in order of declaration.
  std::vector<TGUID> GetTypes() const;
  bool SpeaksType(const TGUID& dataType) const;

  // Sends `operation` through every connection (see above). False for a
  // null operation, a pin without connections or a pin shut down.
  virtual bool Notify(const TFBOperationPtr& operation, TFBState state = 0);

  bool IsConnected() const;

  // Disconnects every connection, refuses any later one, and returns when
  // no other thread runs into the pin any more. Calling it again does
  // nothing.
  void Shutdown();
  bool IsShutDown() const;

  TFBOperationEvent OnOperation;

 protected:
  // `name` may be empty (the pin cannot then be named in a form file).
  // `lock` may be null: the handlers then run without one.
  TFBPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock);

  // An operation arrived through `stream` (seen from this pin; null when the
  // framework hands it over itself, as master-pump ticks). Called with the
  // pin's lock entered. The base calls DispatchData.
  virtual bool Receive(IFBStream* stream, const TGUID& dataType, const TFBOperationPtr& operation,
                       TFBState state);
  // The base answers with OnOperation, or false when there is none.
  virtual bool DispatchData(const TGUID& dataType, const TFBOperationPtr& operation,
                            TFBState state);

  // Sends through every connection except those to `except` (null: all).
  bool Send(const TFBOperationPtr& operation, TFBState state, const TFBPin* except);
  // Sends through the one connection whose end `stream` is.
  bool SendThrough(IFBStream& stream, const TFBOperationPtr& operation, TFBState state);

 private:
  friend struct detail::TPinAccess;

  TRefPtr<IFBLock> FLock;
  TRefPtr<detail::TPinCore> FCore;
};

// Shuts down every pin `owner` owns (TFBPin::Shutdown), the last created
// first: what a component's destructor calls after `BeginDestroy`.
void FBShutdownPins(TComponent& owner);

}  // namespace qx
