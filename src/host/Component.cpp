#include "host/Component.h"

#include <algorithm>
#include <mutex>

#include "host/Exceptions.h"
#include "host/Identifiers.h"
#include "host/Properties.h"

namespace qx {
namespace {

// Named components without an owner, for FindGlobalComponent.
struct TGlobalComponents {
  std::mutex Mutex;
  std::vector<TComponent*> Items;
};

TGlobalComponents& GlobalComponents() {
  static TGlobalComponents globals;
  return globals;
}

void Unregister(TComponent* component) {
  TGlobalComponents& globals = GlobalComponents();
  std::lock_guard lock(globals.Mutex);
  std::erase(globals.Items, component);
}

}  // namespace

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TComponent>({
      // Form files keep the name beside the properties, not among them.
      Property<std::string>("Name", &TComponent::GetName, &TComponent::SetName).Stored(false),
  });
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) {
    if (owner->IsDesigning()) FState.Include(csDesigning);
    owner->InsertComponent(*this);
  }
}

TComponent::~TComponent() {
  Destroying();
  std::vector<IFreeNotify*> clients = std::move(FFreeNotifies);
  FFreeNotifies.clear();
  for (IFreeNotify* client : clients) client->FreeNotify(*this);

  while (!FComponents.empty()) {
    TComponent* component = FComponents.back();
    component->Destroying();
    FComponents.pop_back();
    component->FOwner = nullptr;
    delete component;
  }

  if (FOwner) {
    FOwner->RemoveComponent(*this);
  } else {
    Unregister(this);
  }
}

void TComponent::CheckName(const std::string& name, const TComponent* newOwner) const {
  if (name.empty()) return;
  if (!IsValidIdent(name)) {
    throw EComponentError("\"" + name + "\" is not a valid component name");
  }
  if (newOwner) {
    const TComponent* existing = newOwner->FindComponent(name);
    if (existing && existing != this) {
      throw EComponentError("a component named " + name + " already exists in " +
                            (newOwner->FName.empty() ? newOwner->ClassName() : newOwner->FName));
    }
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  CheckName(name, FOwner);
  FName = name;
  UpdateGlobalRegistration();
}

void TComponent::UpdateGlobalRegistration() {
  TGlobalComponents& globals = GlobalComponents();
  std::lock_guard lock(globals.Mutex);
  std::erase(globals.Items, this);
  if (!FOwner && !FName.empty() && !IsDestroying()) globals.Items.push_back(this);
}

TComponent* TComponent::GetComponent(int index) const {
  if (index < 0 || index >= GetComponentCount()) {
    throw EComponentError("component index " + std::to_string(index) + " out of range");
  }
  return FComponents[static_cast<std::size_t>(index)];
}

int TComponent::GetComponentIndex() const noexcept {
  if (!FOwner) return -1;
  const auto& siblings = FOwner->FComponents;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const noexcept {
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents) {
    if (SameText(component->FName, name)) return component;
  }
  return nullptr;
}

void TComponent::InsertComponent(TComponent& component) {
  if (component.FOwner == this) return;
  for (const TComponent* owner = this; owner; owner = owner->FOwner) {
    if (owner == &component) {
      throw EComponentError("a component cannot be owned by itself or by a component it owns");
    }
  }
  component.CheckName(component.FName, this);
  if (component.FOwner) component.FOwner->RemoveComponent(component);
  component.FOwner = this;
  FComponents.push_back(&component);
  component.UpdateGlobalRegistration();
  Notification(&component, opInsert);
}

void TComponent::RemoveComponent(TComponent& component) {
  auto position = std::find(FComponents.begin(), FComponents.end(), &component);
  if (position == FComponents.end()) return;
  Notification(&component, opRemove);
  FComponents.erase(position);
  component.FOwner = nullptr;
  component.UpdateGlobalRegistration();
}

void TComponent::SetDesigning(bool designing) {
  if (designing) {
    FState.Include(csDesigning);
  } else {
    FState.Exclude(csDesigning);
  }
  for (TComponent* component : FComponents) component->SetDesigning(designing);
}

void TComponent::Destroying() {
  if (IsDestroying()) return;
  FState.Include(csDestroying);
  for (TComponent* component : FComponents) component->Destroying();
}

void TComponent::FreeNotification(TComponent& component) {
  if (&component == this) return;
  AddFreeNotify(component);
  component.AddFreeNotify(*this);
}

void TComponent::RemoveFreeNotification(TComponent& component) {
  RemoveFreeNotify(component);
  component.RemoveFreeNotify(*this);
}

void TComponent::AddFreeNotify(IFreeNotify& client) {
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), &client) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(&client);
  }
}

void TComponent::RemoveFreeNotify(IFreeNotify& client) noexcept {
  std::erase(FFreeNotifies, &client);
}

void TComponent::FreeNotify(TComponent& component) {
  RemoveFreeNotify(component);
  Notification(&component, opRemove);
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::Loaded() {}

TComponent* FindGlobalComponent(std::string_view name) noexcept {
  if (name.empty()) return nullptr;
  TGlobalComponents& globals = GlobalComponents();
  std::lock_guard lock(globals.Mutex);
  for (TComponent* component : globals.Items) {
    if (SameText(component->GetName(), name)) return component;
  }
  return nullptr;
}

}  // namespace qx
