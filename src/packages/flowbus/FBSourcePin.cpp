#include "packages/flowbus/FBSourcePin.h"

#include <algorithm>

#include "packages/flowbus/FBSinkPin.h"
#include "packages/flowbus/detail/PinCore.h"
#include "packages/flowbus/detail/PumpGroup.h"

namespace qx {

using detail::FlowbusMutex;
using detail::TLink;
using detail::TPinAccess;

const TClassInfo& TFBSourcePin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBSourcePin>();
  return info;
}

TFBSourcePin::TFBSourcePin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock)
    : TFBPin(owner, name, std::move(lock)) {}

TFBSourcePin::~TFBSourcePin() { Shutdown(); }

bool TFBSourcePin::Notify(const TFBOperationPtr& operation, TFBState state) {
  if (auto* request = dynamic_cast<TFBPumpRequestOperation*>(operation.Get())) {
    TPinAccess::MarkOrigin(*request, *this);
  }
  const bool result = Send(operation, state, nullptr);
  if (dynamic_cast<TFBSuppliedOperation*>(operation.Get())) detail::HandOnMasterTicks(*this);
  return result;
}

bool TFBSourcePin::Stop() { return Notify(MakeRef<TFBStopOperation>(false)); }

bool TFBSourcePin::EndStop() { return Notify(MakeRef<TFBStopOperation>(true)); }

void TFBSourcePin::Connect(TFBSinkPin& sink) { sink.Connect(this); }

void TFBSourcePin::Disconnect(TFBSinkPin& sink) {
  TRefPtr<TLink> link;
  {
    std::lock_guard guard(FlowbusMutex());
    for (const TRefPtr<TLink>& candidate : TPinAccess::Core(*this).Links) {
      if (candidate->Target == &sink) link = candidate;
    }
    if (!link || !detail::DetachLink(*link)) return;
  }
  detail::AwaitLink(*link, detail::TWaitKind::Disconnect);
}

void TFBSourcePin::DisconnectAll() {
  std::vector<TRefPtr<TLink>> links;
  {
    std::lock_guard guard(FlowbusMutex());
    links = TPinAccess::Core(*this).Links;
    for (const TRefPtr<TLink>& link : links) detail::DetachLink(*link);
  }
  for (const TRefPtr<TLink>& link : links) detail::AwaitLink(*link, detail::TWaitKind::Disconnect);
}

std::vector<TFBSinkPin*> TFBSourcePin::GetSinks() const {
  std::lock_guard guard(FlowbusMutex());
  std::vector<TFBSinkPin*> sinks;
  for (const TRefPtr<TLink>& link : TPinAccess::Core(*this).Links) sinks.push_back(link->Target);
  return sinks;
}

void TFBSourcePin::AddDependent(TFBSinkPin& sink) {
  std::lock_guard guard(FlowbusMutex());
  detail::TPinCore& core = TPinAccess::Core(*this);
  detail::TPinCore& sinkCore = TPinAccess::Core(sink);
  if (core.Closed || sinkCore.Closed) return;
  if (std::find(core.Dependents.begin(), core.Dependents.end(), &sink) != core.Dependents.end()) {
    return;
  }
  core.Dependents.push_back(&sink);
  sinkCore.DependencyOf.push_back(this);
}

void TFBSourcePin::RemoveDependent(TFBSinkPin& sink) {
  std::lock_guard guard(FlowbusMutex());
  if (std::erase(TPinAccess::Core(*this).Dependents, &sink) > 0) {
    std::erase(TPinAccess::Core(sink).DependencyOf, this);
  }
}

std::vector<TFBSinkPin*> TFBSourcePin::GetDependents() const {
  std::lock_guard guard(FlowbusMutex());
  return TPinAccess::Core(*this).Dependents;
}

void TFBSourcePin::SinkConnected(IFBStream&) {}

}  // namespace qx
