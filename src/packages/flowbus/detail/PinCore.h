// Internal: what the framework keeps for each pin and connection.
//
// Everything here is guarded by FlowbusMutex() unless said otherwise.
//
// Connections and links. A link is what the user connected: a source pin
// (the origin) to a sink pin (the target). It is carried by one connection
// between the two pins, or by two when a converter stands between them
// (origin -> converter input, converter output -> target). Each pin keeps
// its connections as an immutable list (copy-on-write): a sender takes the
// current list and delivers through it without holding the mutex, so pins
// may connect and disconnect while other threads deliver.
//
// Liveness. A delivery enters the flight of the connection it goes through
// after checking, under the mutex, that the connection is open; a pin's
// Notify and every arrival at a pin enter the pin's flight after checking
// that the pin is not closed. A disconnect waits until no other thread is
// inside the connection (it may give up to break a wait cycle); closing a
// pin waits, without giving up, until no other thread is inside the pin:
// so a pin is never destroyed while another thread still runs into it.
#pragma once

#include <memory>
#include <vector>

#include "host/Guid.h"
#include "host/RefCounted.h"
#include "packages/flowbus/FBFormatConverter.h"
#include "packages/flowbus/FBPumpOperations.h"
#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/FBSourcePin.h"
#include "packages/flowbus/detail/WaitGraph.h"

namespace qx::detail {

class TPumpGroup;

// One connection between a source pin and a sink pin, of one agreed type.
class TConnection final : public TRefCounted {
 public:
  // Takes the pins' handlers for `type`; with the mutex held.
  TConnection(TFBPin& source, TFBPin& sink, const TGUID& type,
              TRefPtr<TFBFormatConverter> converter);

  // Sends `operation` from `from` (the source: downstream; the sink:
  // upstream) through the sending pin's handler. False when closed.
  bool Deliver(const TFBPin& from, const TFBOperationPtr& operation, TFBState state);

  // The end seen from `pin`.
  IFBStream& EndAt(const TFBPin& pin) noexcept { return &pin == &FSource ? FDown : FUp; }

  TFBPin& GetSource() const noexcept { return FSource; }
  TFBPin& GetSink() const noexcept { return FSink; }
  const TGUID& GetType() const noexcept { return FType; }

  bool Open = true;
  TFlight Flight;

 private:
  class TEnd final : public IFBStream, public IFBStreamNotify {
   public:
    TEnd(TConnection& connection, TFBPin& local, TFBPin& remote, TFBStreamHandler handler)
        : FConnection(connection), FLocal(local), FRemote(remote), FHandler(std::move(handler)) {}
    const TGUID& GetDataType() const noexcept override { return FConnection.FType; }
    TFBPin& GetLocalPin() const noexcept override { return FLocal; }
    TFBPin& GetRemotePin() const noexcept override { return FRemote; }
    bool Notify(const TGUID& dataType, const TFBOperationPtr& operation, TFBState state) override;

    bool Send(const TFBOperationPtr& operation, TFBState state) {
      return FHandler && FHandler(*this, FConnection.FType, operation, state);
    }

   private:
    TConnection& FConnection;
    TFBPin& FLocal;
    TFBPin& FRemote;
    TFBStreamHandler FHandler;
  };

  TFBPin& FSource;
  TFBPin& FSink;
  const TGUID FType;
  TEnd FDown;  // held by the source's handler
  TEnd FUp;    // held by the sink's handler
  // The converter the connection belongs to: kept alive while a delivery
  // still holds the connection.
  TRefPtr<TFBFormatConverter> FConverter;
};

using TConnectionList = std::vector<TRefPtr<TConnection>>;
using TConnectionSnapshot = std::shared_ptr<const TConnectionList>;

// A source pin connected to a sink pin, directly or through a converter.
class TLink final : public TRefCounted {
 public:
  TFBSourcePin* Origin = nullptr;
  TFBSinkPin* Target = nullptr;
  TRefPtr<TFBFormatConverter> Converter;
  std::vector<TRefPtr<TConnection>> Connections;
  bool Attached = false;
};

struct TTypeEntry {
  TGUID Type;
  TFBStreamHandler Handler;
};

// The framework's state of one pin. It outlives the pin as long as someone
// refers to it (a pump group, a pump request); `Pin` is then null.
class TPinCore final : public TRefCounted {
 public:
  TFBPin* Pin = nullptr;
  bool Closed = false;
  TFlight Flight;
  std::vector<TTypeEntry> Types;
  TConnectionSnapshot Connections = std::make_shared<const TConnectionList>();

  // Source pins.
  std::vector<TRefPtr<TLink>> Links;
  std::vector<TFBSinkPin*> Dependents;
  std::vector<TRefPtr<TPumpGroup>> PumpGroups;  // the groups this pin's requests reached

  // Sink pins.
  TRefPtr<TLink> Link;
  std::vector<TFBSourcePin*> DependencyOf;
  TRefPtr<TPumpGroup> PumpGroup;  // the group of the pin's component
  const void* PumpGroupKey = nullptr;
};

// The framework's access to pins and pump requests.
struct TPinAccess {
  static TPinCore& Core(const TFBPin& pin) noexcept { return *pin.FCore; }
  static const TRefPtr<TPinCore>& CoreRef(const TFBPin& pin) noexcept { return pin.FCore; }

  // Hands an operation to `pin` as arriving through `stream` (null: handed
  // by the framework itself). The caller has entered the connection's or the
  // pin's flight. Runs the pin's handlers under its lock, then, for a pump
  // request reaching the end of its way, the pump election.
  static bool Arrive(TFBPin& pin, IFBStream* stream, const TGUID& dataType,
                     const TFBOperationPtr& operation, TFBState state);

  static void MarkOrigin(TFBPumpRequestOperation& request, const TFBSourcePin& pin);
  static TPinCore* OriginCore(const TFBPumpRequestOperation& request) noexcept {
    return static_cast<TPinCore*>(request.FOrigin.Get());
  }
  static void Answer(TFBPumpRequestOperation& request, TComponent* master, std::int32_t priority,
                     double value) noexcept {
    request.FMaster = master;
    request.FMasterPriority = priority;
    request.FValue = value;
  }
};

// With the mutex held.
void AddConnection(TPinCore& pin, TRefPtr<TConnection> connection);
void RemoveConnection(TPinCore& pin, const TConnection& connection);
// Detaches `link` from its pins and closes its connections; false when it
// was detached already. The caller holds a reference to the link.
bool DetachLink(TLink& link);

// Without the mutex: waits until no other thread delivers through the
// link's connections (`kind` Disconnect may give up to break a wait cycle).
void AwaitLink(TLink& link, TWaitKind kind);

// The first declared type of a pin, or the null GUID. With the mutex held.
TGUID PrimaryType(const TPinCore& pin);
// The pin's handler for `type`, or an empty function. With the mutex held.
TFBStreamHandler HandlerFor(const TPinCore& pin, const TGUID& type);

}  // namespace qx::detail
