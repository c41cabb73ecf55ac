#include "packages/flowbus/FBSinkPin.h"

#include <algorithm>

#include "packages/flowbus/FBExceptions.h"
#include "packages/flowbus/FBFormatConverter.h"
#include "packages/flowbus/FBSourcePin.h"
#include "packages/flowbus/FBStreamRegistry.h"
#include "packages/flowbus/detail/PinCore.h"
#include "packages/flowbus/detail/PumpGroup.h"

namespace qx {

using detail::FlowbusMutex;
using detail::TConnection;
using detail::TLink;
using detail::TPinAccess;

namespace {

// "Owner.Pin", for messages.
std::string Describe(const TFBPin& pin) {
  std::string text = pin.GetName().empty() ? pin.ClassName() : pin.GetName();
  if (const TComponent* owner = pin.GetOwner(); owner && !owner->GetName().empty()) {
    text = owner->GetName() + "." + text;
  }
  return text;
}

// The link `source` -> `sink` with its connections (not yet attached):
// direct on the first source type the sink speaks, else through the first
// registered converter.
TRefPtr<TLink> PlanLink(TFBSourcePin& source, TFBSinkPin& sink) {
  const std::vector<TGUID> sourceTypes = source.GetTypes();
  const std::vector<TGUID> sinkTypes = sink.GetTypes();
  auto link = MakeRef<TLink>();
  link->Origin = &source;
  link->Target = &sink;
  for (const TGUID& type : sourceTypes) {
    if (std::find(sinkTypes.begin(), sinkTypes.end(), type) == sinkTypes.end()) continue;
    std::lock_guard guard(FlowbusMutex());
    link->Connections.push_back(MakeRef<TConnection>(source, sink, type, nullptr));
    return link;
  }
  for (const TGUID& from : sourceTypes) {
    for (const TGUID& to : sinkTypes) {
      const TFBConverterFactory factory = FBFindTypeConverter(from, to);
      if (!factory) continue;
      TRefPtr<TFBFormatConverter> converter = factory(sink, source);
      if (!converter || !converter->GetInputPin().SpeaksType(from) ||
          !converter->GetOutputPin().SpeaksType(to)) {
        throw EFBError("the converter from " + FBGetStreamName(from) + " to " +
                       FBGetStreamName(to) + " does not speak these streams");
      }
      link->Converter = converter;
      std::lock_guard guard(FlowbusMutex());
      link->Connections.push_back(
          MakeRef<TConnection>(source, converter->GetInputPin(), from, converter));
      link->Connections.push_back(
          MakeRef<TConnection>(converter->GetOutputPin(), sink, to, converter));
      return link;
    }
  }
  throw EFBError("cannot connect " + Describe(source) + " to " + Describe(sink) +
                 ": they share no stream type and no converter joins them");
}

}  // namespace

const TClassInfo& TFBSinkPin::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBSinkPin>();
  return info;
}

TFBSinkPin::TFBSinkPin(TComponent* owner, std::string_view name, TRefPtr<IFBLock> lock)
    : TFBPin(owner, name, std::move(lock)) {
  const void* key = owner ? static_cast<const void*>(owner) : static_cast<const void*>(this);
  std::lock_guard guard(FlowbusMutex());
  detail::TPinCore& core = TPinAccess::Core(*this);
  core.PumpGroupKey = key;
  core.PumpGroup = detail::JoinPumpGroup(key);
}

TFBSinkPin::~TFBSinkPin() {
  Shutdown();
  std::lock_guard guard(FlowbusMutex());
  detail::LeavePumpGroup(TPinAccess::Core(*this).PumpGroupKey);
}

void TFBSinkPin::Connect(TFBSourcePin* source) {
  if (!source) {
    Disconnect();
    return;
  }
  if (GetSource() == source) return;
  Disconnect();
  TRefPtr<TLink> link = PlanLink(*source, *this);
  TRefPtr<TLink> replaced;
  {
    std::lock_guard guard(FlowbusMutex());
    detail::TPinCore& core = TPinAccess::Core(*this);
    for (const TRefPtr<TConnection>& connection : link->Connections) {
      if (TPinAccess::Core(connection->GetSource()).Closed ||
          TPinAccess::Core(connection->GetSink()).Closed) {
        throw EFBError("cannot connect " + Describe(*source) + " to " + Describe(*this) +
                       ": a pin is shut down");
      }
    }
    // Another thread may have connected this pin meanwhile: the last one wins.
    replaced = core.Link;
    if (replaced) detail::DetachLink(*replaced);
    link->Attached = true;
    core.Link = link;
    TPinAccess::Core(*source).Links.push_back(link);
    for (const TRefPtr<TConnection>& connection : link->Connections) {
      detail::AddConnection(TPinAccess::Core(connection->GetSource()), connection);
      detail::AddConnection(TPinAccess::Core(connection->GetSink()), connection);
    }
  }
  if (replaced) detail::AwaitLink(*replaced, detail::TWaitKind::Disconnect);
  source->SinkConnected(link->Connections.front()->EndAt(*source));
}

void TFBSinkPin::Disconnect() {
  TRefPtr<TLink> link;
  {
    std::lock_guard guard(FlowbusMutex());
    link = TPinAccess::Core(*this).Link;
    if (!link || !detail::DetachLink(*link)) return;
  }
  detail::AwaitLink(*link, detail::TWaitKind::Disconnect);
}

TFBSourcePin* TFBSinkPin::GetSource() const {
  std::lock_guard guard(FlowbusMutex());
  const TRefPtr<TLink>& link = TPinAccess::Core(*this).Link;
  return link ? link->Origin : nullptr;
}

TRefPtr<TFBFormatConverter> TFBSinkPin::GetConverter() const {
  std::lock_guard guard(FlowbusMutex());
  const TRefPtr<TLink>& link = TPinAccess::Core(*this).Link;
  return link ? link->Converter : nullptr;
}

TGUID TFBSinkPin::GetDataType() const {
  std::lock_guard guard(FlowbusMutex());
  const TRefPtr<TLink>& link = TPinAccess::Core(*this).Link;
  return link ? link->Connections.back()->GetType() : TGUID{};
}

bool TFBSinkPin::IsTerminal() const {
  std::lock_guard guard(FlowbusMutex());
  return TPinAccess::Core(*this).DependencyOf.empty();
}

}  // namespace qx
