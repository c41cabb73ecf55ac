#include "packages/flowbus/detail/PumpGroup.h"

#include <algorithm>
#include <map>

#include "packages/flowbus/detail/PinCore.h"

namespace qx::detail {

void TPumpGroup::Elect(TFBPumpRequestOperation& request, const TPinCore& arrival) {
  TPinCore* origin = TPinAccess::OriginCore(request);
  if (origin && origin->Closed) origin = nullptr;
  const auto candidate =
      std::find_if(FCandidates.begin(), FCandidates.end(), [&](const TCandidate& c) {
        return c.Sender == request.GetSender() && c.PumpType == request.GetPumpType();
      });
  TCandidate entry{request.GetSender(), request.GetPumpType(),     request.GetPriority(),
                   request.GetRate(),   TRefPtr<TPinCore>(origin), &arrival};
  if (candidate == FCandidates.end()) {
    FCandidates.push_back(std::move(entry));
  } else {
    *candidate = std::move(entry);  // keeps its place: the order of first requests
  }
  if (origin) {
    const bool known = std::any_of(origin->PumpGroups.begin(), origin->PumpGroups.end(),
                                   [&](const TRefPtr<TPumpGroup>& g) { return g.Get() == this; });
    if (!known) origin->PumpGroups.push_back(TRefPtr<TPumpGroup>(this));
  }

  const TCandidate& best = *Best(request.GetPumpType());
  TMastership& mastership = MastershipOf(request.GetPumpType());
  const bool answeredElsewhere =
      request.GetMaster() != request.GetSender() && request.GetMaster() != best.Sender;
  if (answeredElsewhere && request.GetMasterPriority() >= best.Priority) {
    mastership.Master = nullptr;  // the earlier answer stands: not ours to tick
    return;
  }
  TPinAccess::Answer(request, best.Sender, best.Priority, best.Rate);
  if (mastership.Master != best.Sender) {
    mastership.Master = best.Sender;
    mastership.Ticks = 0;
  }
}

const TPumpGroup::TCandidate* TPumpGroup::Best(std::int32_t pumpType) const {
  const TCandidate* best = nullptr;
  for (const TCandidate& candidate : FCandidates) {
    if (candidate.PumpType != pumpType) continue;
    if (!best || candidate.Priority > best->Priority) best = &candidate;
  }
  return best;
}

TPumpGroup::TMastership& TPumpGroup::MastershipOf(std::int32_t pumpType) {
  for (TMastership& mastership : FMasterships) {
    if (mastership.PumpType == pumpType) return mastership;
  }
  return FMasterships.emplace_back(TMastership{pumpType, nullptr, 0});
}

void TPumpGroup::DropMissingMasters() {
  for (TMastership& mastership : FMasterships) {
    const bool present =
        std::any_of(FCandidates.begin(), FCandidates.end(), [&](const TCandidate& c) {
          return c.PumpType == mastership.PumpType && c.Sender == mastership.Master;
        });
    if (!present) mastership.Master = nullptr;
  }
}

void TPumpGroup::ForgetArrival(const TPinCore& arrival) {
  std::erase_if(FCandidates, [&](const TCandidate& c) { return c.Arrival == &arrival; });
  DropMissingMasters();
}

void TPumpGroup::ForgetOrigin(const TPinCore& origin) {
  std::erase_if(FCandidates, [&](const TCandidate& c) { return c.Origin.Get() == &origin; });
  DropMissingMasters();
}

void TPumpGroup::CollectTicks(const TPinCore& origin, std::vector<TTick>& ticks) {
  for (TMastership& mastership : FMasterships) {
    if (!mastership.Master) continue;
    const auto master =
        std::find_if(FCandidates.begin(), FCandidates.end(), [&](const TCandidate& c) {
          return c.PumpType == mastership.PumpType && c.Sender == mastership.Master;
        });
    if (master == FCandidates.end() || master->Origin.Get() != &origin) continue;
    ++mastership.Ticks;
    for (const TCandidate& other : FCandidates) {
      if (other.PumpType != mastership.PumpType || other.Sender == mastership.Master) continue;
      if (!other.Origin || other.Origin->Closed) continue;
      ticks.push_back({other.Origin, mastership.Master, mastership.Ticks});
    }
  }
}

namespace {

struct TGroupEntry {
  TRefPtr<TPumpGroup> Group;
  int Members = 0;
};

std::map<const void*, TGroupEntry>& Groups() {
  static auto* groups = new std::map<const void*, TGroupEntry>;
  return *groups;
}

}  // namespace

TRefPtr<TPumpGroup> JoinPumpGroup(const void* key) {
  TGroupEntry& entry = Groups()[key];
  if (!entry.Group) entry.Group = MakeRef<TPumpGroup>();
  ++entry.Members;
  return entry.Group;
}

void LeavePumpGroup(const void* key) {
  const auto entry = Groups().find(key);
  if (entry != Groups().end() && --entry->second.Members == 0) Groups().erase(entry);
}

void ElectAtSink(TFBSinkPin& sink, TFBPumpRequestOperation& request) {
  std::lock_guard guard(FlowbusMutex());
  TPinCore& core = TPinAccess::Core(sink);
  if (core.Closed || !core.DependencyOf.empty() || !core.PumpGroup) return;
  core.PumpGroup->Elect(request, core);
}

void HandOnMasterTicks(TFBSourcePin& pin) {
  std::vector<TTick> ticks;
  std::vector<TGUID> types;
  std::vector<TFBPin*> targets;
  std::vector<TFlightGuard> flights;
  {
    std::lock_guard guard(FlowbusMutex());
    TPinCore& core = TPinAccess::Core(pin);
    for (const TRefPtr<TPumpGroup>& group : core.PumpGroups) group->CollectTicks(core, ticks);
    if (ticks.empty()) return;
    // Each target stays alive while the tick is in its flight.
    flights = std::vector<TFlightGuard>(ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      types.push_back(PrimaryType(*ticks[i].Target));
      targets.push_back(ticks[i].Target->Pin);
      flights[i].Enter(ticks[i].Target->Flight);
    }
  }
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    TPinAccess::Arrive(*targets[i], nullptr, types[i],
                       MakeRef<TFBMasterPumpOperation>(ticks[i].Master, ticks[i].Count), 0);
  }
}

}  // namespace qx::detail
