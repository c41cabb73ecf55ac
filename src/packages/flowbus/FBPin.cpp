#include "packages/flowbus/FBPin.h"

#include <algorithm>

#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/flowbus/detail/PinCore.h"
#include "packages/flowbus/detail/PumpGroup.h"

namespace qx {

using detail::FlowbusMutex;
using detail::TConnection;
using detail::TConnectionSnapshot;
using detail::TFlightGuard;
using detail::TLink;
using detail::TPinAccess;

const TClassInfo& TFBPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBPin>();
  return info;
}

TFBPin::TFBPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock)
    : TComponent(owner), FLock(std::move(lock)), FCore(MakeRef<detail::TPinCore>()) {
  FCore->Pin = this;
  if (!name.empty()) SetName(std::string(name));
}

TFBPin::~TFBPin() {
  Shutdown();
  std::lock_guard guard(FlowbusMutex());
  FCore->Pin = nullptr;
}

void TFBPin::AddType(const TGUID& dataType, TFBStreamHandler handler) {
  if (!FBIsStreamRegistered(dataType)) {
    throw EFBError("stream " + dataType.ToString() + " is not registered");
  }
  if (!handler) handler = FBGetDefaultHandler(dataType);
  std::lock_guard guard(FlowbusMutex());
  for (detail::TTypeEntry& entry : FCore->Types) {
    if (entry.Type == dataType) {
      entry.Handler = std::move(handler);
      return;
    }
  }
  FCore->Types.push_back({dataType, std::move(handler)});
}

std::vector<TGUID> TFBPin::GetTypes() const {
  std::lock_guard guard(FlowbusMutex());
  std::vector<TGUID> types;
  for (const detail::TTypeEntry& entry : FCore->Types) types.push_back(entry.Type);
  return types;
}

bool TFBPin::SpeaksType(const TGUID& dataType) const {
  std::lock_guard guard(FlowbusMutex());
  return std::any_of(FCore->Types.begin(), FCore->Types.end(),
                     [&](const detail::TTypeEntry& entry) { return entry.Type == dataType; });
}

bool TFBPin::Notify(const TFBOperationPtr& operation, TFBState state) {
  return Send(operation, state, nullptr);
}

bool TFBPin::Send(const TFBOperationPtr& operation, TFBState state, const TFBPin* except) {
  if (!operation) return false;
  TConnectionSnapshot connections;
  TFlightGuard flight;
  {
    std::lock_guard guard(FlowbusMutex());
    if (FCore->Closed) return false;
    connections = FCore->Connections;
    flight.Enter(FCore->Flight);
  }
  auto farPin = [this](const TConnection& connection) -> const TFBPin* {
    return &connection.GetSource() == this ? &connection.GetSink() : &connection.GetSource();
  };
  const auto receivers = std::count_if(connections->begin(), connections->end(),
                                       [&](const auto& c) { return farPin(*c) != except; });
  if (receivers > 1) state |= fbsShared;
  bool result = false;
  for (const TRefPtr<TConnection>& connection : *connections) {
    if (farPin(*connection) == except) continue;
    if (connection->Deliver(*this, operation, state)) result = true;
  }
  return result;
}

bool TFBPin::SendThrough(IFBStream& stream, const TFBOperationPtr& operation, TFBState state) {
  if (!operation) return false;
  TRefPtr<TConnection> connection;
  TFlightGuard flight;
  {
    std::lock_guard guard(FlowbusMutex());
    if (FCore->Closed) return false;
    for (const TRefPtr<TConnection>& candidate : *FCore->Connections) {
      if (&candidate->EndAt(*this) == &stream) connection = candidate;
    }
    if (!connection) return false;
    flight.Enter(FCore->Flight);
  }
  return connection->Deliver(*this, operation, state);
}

bool TFBPin::Receive(IFBStream*, const TGUID& dataType, const TFBOperationPtr& operation,
                     TFBState state) {
  return DispatchData(dataType, operation, state);
}

bool TFBPin::DispatchData(const TGUID& dataType, const TFBOperationPtr& operation, TFBState state) {
  return OnOperation && OnOperation(*this, dataType, operation, state);
}

bool TFBPin::IsConnected() const {
  std::lock_guard guard(FlowbusMutex());
  return !FCore->Connections->empty();
}

bool TFBPin::IsShutDown() const {
  std::lock_guard guard(FlowbusMutex());
  return FCore->Closed;
}

void TFBPin::Shutdown() {
  std::vector<TRefPtr<TLink>> links;
  std::vector<TRefPtr<TConnection>> strays;
  {
    std::lock_guard guard(FlowbusMutex());
    detail::TPinCore& core = *FCore;
    if (core.Closed) return;
    core.Closed = true;
    links = core.Links;
    if (core.Link) links.push_back(core.Link);
    for (const TRefPtr<TLink>& link : links) detail::DetachLink(*link);
    // Connections that belong to no link of this pin: a converter's pin
    // shut down directly.
    strays = *core.Connections;
    for (const TRefPtr<TConnection>& connection : strays) {
      connection->Open = false;
      detail::RemoveConnection(TPinAccess::Core(connection->GetSource()), *connection);
      detail::RemoveConnection(TPinAccess::Core(connection->GetSink()), *connection);
    }
    for (TFBSinkPin* dependent : core.Dependents) {
      std::erase(TPinAccess::Core(*dependent).DependencyOf, this);
    }
    for (TFBSourcePin* source : core.DependencyOf) {
      std::erase(TPinAccess::Core(*source).Dependents, this);
    }
    core.Dependents.clear();
    core.DependencyOf.clear();
    for (const auto& group : core.PumpGroups) group->ForgetOrigin(core);
    core.PumpGroups.clear();
    if (core.PumpGroup) core.PumpGroup->ForgetArrival(core);
  }
  for (const TRefPtr<TLink>& link : links) detail::AwaitLink(*link, detail::TWaitKind::PinClose);
  std::unique_lock guard(FlowbusMutex());
  detail::TThreadRecord& me = detail::CurrentThread();
  for (const TRefPtr<TConnection>& connection : strays) {
    connection->Flight.WaitForOthers(guard, me, detail::TWaitKind::PinClose);
  }
  FCore->Flight.WaitForOthers(guard, me, detail::TWaitKind::PinClose);
}

void FBShutdownPins(TComponent& owner) {
  for (int i = owner.GetComponentCount() - 1; i >= 0; --i) {
    if (auto* pin = dynamic_cast<TFBPin*>(owner.GetComponent(i))) pin->Shutdown();
  }
}

namespace detail {

TConnection::TConnection(TFBPin& source, TFBPin& sink, const TGUID& type,
                         TRefPtr<TFBFormatConverter> converter)
    : FSource(source),
      FSink(sink),
      FType(type),
      FDown(*this, source, sink, HandlerFor(TPinAccess::Core(source), type)),
      FUp(*this, sink, source, HandlerFor(TPinAccess::Core(sink), type)),
      FConverter(std::move(converter)) {}

bool TConnection::Deliver(const TFBPin& from, const TFBOperationPtr& operation, TFBState state) {
  TFlightGuard flight;
  {
    std::lock_guard guard(FlowbusMutex());
    if (!Open) return false;
    flight.Enter(Flight);
  }
  return (&from == &FSource ? FDown : FUp).Send(operation, state);
}

bool TConnection::TEnd::Notify(const TGUID& dataType, const TFBOperationPtr& operation,
                               TFBState state) {
  return TPinAccess::Arrive(FRemote, &FConnection.EndAt(FRemote), dataType, operation, state);
}

bool TPinAccess::Arrive(TFBPin& pin, IFBStream* stream, const TGUID& dataType,
                        const TFBOperationPtr& operation, TFBState state) {
  if (!operation) return false;
  // The pin's own flight covers the arrival even when the connection it
  // came through is closed meanwhile (a disconnect that gave up waiting).
  TFlightGuard flight;
  {
    std::lock_guard guard(FlowbusMutex());
    if (pin.FCore->Closed) return false;
    flight.Enter(pin.FCore->Flight);
  }
  bool result = false;
  {
    TFBLockGuard guard(pin.FLock);
    if (!guard) return false;
    result = pin.Receive(stream, dataType, operation, state);
  }
  if (auto* request = dynamic_cast<TFBPumpRequestOperation*>(operation.Get())) {
    if (auto* sink = dynamic_cast<TFBSinkPin*>(&pin)) ElectAtSink(*sink, *request);
  }
  return result;
}

void TPinAccess::MarkOrigin(TFBPumpRequestOperation& request, const TFBSourcePin& pin) {
  std::lock_guard guard(FlowbusMutex());
  if (!request.FOrigin) request.FOrigin = TRefPtr<TRefCounted>(pin.FCore.Get());
}

void AddConnection(TPinCore& pin, TRefPtr<TConnection> connection) {
  auto connections = std::make_shared<TConnectionList>(*pin.Connections);
  connections->push_back(std::move(connection));
  pin.Connections = std::move(connections);
}

void RemoveConnection(TPinCore& pin, const TConnection& connection) {
  auto connections = std::make_shared<TConnectionList>(*pin.Connections);
  std::erase_if(*connections, [&](const auto& c) { return c.Get() == &connection; });
  pin.Connections = std::move(connections);
}

bool DetachLink(TLink& link) {
  if (!link.Attached) return false;
  link.Attached = false;
  TPinCore& origin = TPinAccess::Core(*link.Origin);
  TPinCore& target = TPinAccess::Core(*link.Target);
  std::erase_if(origin.Links, [&](const TRefPtr<TLink>& l) { return l.Get() == &link; });
  if (target.Link.Get() == &link) target.Link = nullptr;
  for (const TRefPtr<TConnection>& connection : link.Connections) {
    connection->Open = false;
    RemoveConnection(TPinAccess::Core(connection->GetSource()), *connection);
    RemoveConnection(TPinAccess::Core(connection->GetSink()), *connection);
  }
  // The senders that reached the target's group through this link, and the
  // origin's own candidacies, end with it.
  if (target.PumpGroup) target.PumpGroup->ForgetArrival(target);
  for (const auto& group : origin.PumpGroups) group->ForgetOrigin(origin);
  origin.PumpGroups.clear();
  return true;
}

void AwaitLink(TLink& link, TWaitKind kind) {
  std::unique_lock guard(FlowbusMutex());
  TThreadRecord& me = CurrentThread();
  for (const TRefPtr<TConnection>& connection : link.Connections) {
    connection->Flight.WaitForOthers(guard, me, kind);
  }
}

TGUID PrimaryType(const TPinCore& pin) {
  return pin.Types.empty() ? TGUID{} : pin.Types.front().Type;
}

TFBStreamHandler HandlerFor(const TPinCore& pin, const TGUID& type) {
  for (const TTypeEntry& entry : pin.Types) {
    if (entry.Type == type) return entry.Handler;
  }
  return {};
}

}  // namespace detail

TFBSourcePin* TFBPumpRequestOperation::GetOriginPin() const {
  std::lock_guard guard(FlowbusMutex());
  const detail::TPinCore* core = static_cast<const detail::TPinCore*>(FOrigin.Get());
  if (!core || core->Closed) return nullptr;
  return static_cast<TFBSourcePin*>(core->Pin);
}

}  // namespace qx
