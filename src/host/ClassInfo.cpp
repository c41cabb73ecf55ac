#include "host/ClassInfo.h"

#include <algorithm>
#include <mutex>

#include "host/Exceptions.h"
#include "host/Identifiers.h"

namespace qx {

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TPropertyTable properties,
                       TFactory factory)
    : FName(std::move(name)),
      FParent(parent),
      FOwnProperties(std::move(properties)),
      FFactory(factory) {
  if (FParent) FProperties = FParent->GetProperties();
  for (const auto& own : FOwnProperties.GetItems()) {
    auto inherited = std::find_if(FProperties.begin(), FProperties.end(), [&](const auto* p) {
      return SameText(p->GetName(), own->GetName());
    });
    if (inherited != FProperties.end()) {
      *inherited = own.get();
    } else {
      FProperties.push_back(own.get());
    }
  }
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const noexcept {
  for (const TClassInfo* info = this; info; info = info->FParent) {
    if (info == &other) return true;
  }
  return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view name) const noexcept {
  for (const TPropertyInfo* info : FProperties) {
    if (SameText(info->GetName(), name)) return info;
  }
  return nullptr;
}

TComponent* TClassInfo::CreateInstance(TComponent* owner) const {
  if (!FFactory) throw EClassNotFound("class " + FName + " cannot be created by name");
  return FFactory(owner);
}

namespace {

struct TClassRegistry {
  std::mutex Mutex;
  std::vector<const TClassInfo*> Classes;

  const TClassInfo* Find(std::string_view name) const {
    for (const TClassInfo* info : Classes) {
      if (SameText(info->GetName(), name)) return info;
    }
    return nullptr;
  }
};

TClassRegistry& Registry() {
  static TClassRegistry registry;
  return registry;
}

}  // namespace

void RegisterClass(const TClassInfo& info) {
  if (!info.CanCreate()) {
    throw EComponentError("class " + info.GetName() +
                          " cannot be registered: it is no component class with a constructor "
                          "taking its owner");
  }
  TClassRegistry& registry = Registry();
  std::lock_guard lock(registry.Mutex);
  if (const TClassInfo* existing = registry.Find(info.GetName())) {
    if (existing == &info) return;
    throw EComponentError("another class named " + info.GetName() + " is already registered");
  }
  registry.Classes.push_back(&info);
}

void UnregisterClass(const TClassInfo& info) {
  TClassRegistry& registry = Registry();
  std::lock_guard lock(registry.Mutex);
  std::erase(registry.Classes, &info);
}

const TClassInfo* FindClass(std::string_view name) noexcept {
  TClassRegistry& registry = Registry();
  std::lock_guard lock(registry.Mutex);
  return registry.Find(name);
}

const TClassInfo& GetClass(std::string_view name) {
  if (const TClassInfo* info = FindClass(name)) return *info;
  throw EClassNotFound("class " + std::string(name) + " is not registered");
}

}  // namespace qx
