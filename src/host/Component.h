// TComponent: the base of every component, with its owner tree, name, state
// and free-notification.
//
// Ownership. A component created with an owner (`new TQXDisplay(form)`) is
// owned by it: the owner destroys the components it owns when it is
// destroyed, the last created first. Owned components are therefore created
// with `new` and never deleted by anyone else than their owner, except that
// deleting one directly is allowed and removes it from its owner. A component
// without an owner belongs to whoever created it (a `std::unique_ptr`, a
// variable).
//
// Names. A name is empty or a valid identifier (host/Identifiers.h), unique
// among the components of the same owner, compared without regard to case.
// Named components without an owner (forms, usually) can be found with
// `FindGlobalComponent`; form files refer to components of other forms that
// way.
//
// State. `IsDesigning()` is set on components edited in a designer (and on
// components created with a designing owner); `IsLoading()` while a form file
// is being read into the component, until just before its `Loaded` is called;
// `IsDestroying()` once its destruction has begun (the owner marks every
// component it is about to destroy, so their destructors can see it).
//
// Free-notification. Whoever keeps a pointer to a component it does not own
// (a pin, a link, a dock, a component property) must learn when the component
// is destroyed. Components call `FreeNotification(other)` and receive
// `Notification(other, opRemove)`; other objects hold a `TComponentLink<T>`,
// which drops its pointer by itself, or implement `IFreeNotify`.
//
// Threads. The owner tree, names, state and notifications are used by one
// thread at a time, normally the main thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Persistent.h"
#include "host/Set.h"

namespace qx {

enum TComponentStateFlag : std::uint8_t { csLoading, csDesigning, csDestroying };
using TComponentState = TSet<TComponentStateFlag>;

// What happened to a component, in `TComponent::Notification`.
enum TOperation : std::uint8_t { opInsert, opRemove };

class TComponent;

// An object told when a component it registered with is destroyed.
class IFreeNotify {
 public:
  // `component` is being destroyed: drop every pointer to it. Called from the
  // component's base destructor, when its derived parts are already gone:
  // compare the pointer, do not call the component.
  virtual void FreeNotify(TComponent& component) = 0;

 protected:
  ~IFreeNotify() = default;
};

namespace detail {
struct TComponentAccess;
}

class TComponent : public TPersistent, private IFreeNotify {
  QX_CLASS(TComponent, TPersistent)

 public:
  // Creates a component owned by `owner` (null: no owner). The owner's
  // `Notification(this, opInsert)` runs from here, before the derived
  // constructors.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* GetOwner() const noexcept { return FOwner; }

  const std::string& GetName() const noexcept { return FName; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner has.
  virtual void SetName(const std::string& name);

  // The components this one owns, in the order they were inserted.
  int GetComponentCount() const noexcept { return static_cast<int>(FComponents.size()); }
  // Raises EComponentError outside 0..ComponentCount-1.
  TComponent* GetComponent(int index) const;
  // This component's position among its owner's components; -1 without owner.
  int GetComponentIndex() const noexcept;
  // The owned component of that name (any case), or null.
  TComponent* FindComponent(std::string_view name) const noexcept;

  // Makes this component the owner of `component`, taking it from its
  // previous owner. Raises EComponentError when its name is taken here or
  // when `component` is this one or one of its owners.
  void InsertComponent(TComponent& component);
  // Gives up ownership of `component` (which must be owned by this one); the
  // caller then owns it.
  void RemoveComponent(TComponent& component);

  TComponentState GetComponentState() const noexcept { return FState; }
  bool IsLoading() const noexcept { return FState.Contains(csLoading); }
  bool IsDesigning() const noexcept { return FState.Contains(csDesigning); }
  bool IsDestroying() const noexcept { return FState.Contains(csDestroying); }

  // Sets or clears the designing state of this component and every
  // component it owns.
  void SetDesigning(bool designing);

  // Marks this component and the ones it owns as being destroyed. Owners call
  // it before destroying their components; call it first in a destructor that
  // must know (the base destructor calls it too, late). Calling it again does
  // nothing.
  void Destroying();

  // Free-notification between components: each of the two receives
  // `Notification(theOther, opRemove)` when the other is destroyed, and the
  // registration disappears with either of them.
  void FreeNotification(TComponent& component);
  void RemoveFreeNotification(TComponent& component);

  // Free-notification of any object: `client.FreeNotify(*this)` runs when
  // this component is destroyed. A client destroyed first must remove itself.
  void AddFreeNotify(IFreeNotify& client);
  void RemoveFreeNotify(IFreeNotify& client) noexcept;

 protected:
  // Called on the owner when a component is inserted into it or removed from
  // it, and on free-notification partners when they are destroyed. The base
  // does nothing.
  virtual void Notification(TComponent* component, TOperation operation);

  // Called once when a form file has been read into the component, after
  // every component of the form exists and every reference is resolved; the
  // loading state is already cleared. The base does nothing.
  virtual void Loaded();

 private:
  friend struct detail::TComponentAccess;

  void FreeNotify(TComponent& component) override;
  void CheckName(const std::string& name, const TComponent* newOwner) const;
  void UpdateGlobalRegistration();

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<IFreeNotify*> FFreeNotifies;
  TComponentState FState;
};

// The named component without an owner called `name` (any case), or null.
// Thread-safe.
TComponent* FindGlobalComponent(std::string_view name) noexcept;

// A pointer to a component that becomes null when the component is destroyed.
// Assign with `Set`; `OnFree` (optional) runs after the pointer was dropped
// because the component is being destroyed. The link is tied to its address:
// it can be neither copied nor moved.
template <class T>
class TComponentLink final : private IFreeNotify {
 public:
  TComponentLink() = default;
  explicit TComponentLink(T* component) { Set(component); }
  ~TComponentLink() { Set(nullptr); }
  TComponentLink(const TComponentLink&) = delete;
  TComponentLink& operator=(const TComponentLink&) = delete;

  T* Get() const noexcept { return FComponent; }
  T* operator->() const noexcept { return FComponent; }
  explicit operator bool() const noexcept { return FComponent != nullptr; }

  void Set(T* component) {
    if (component == FComponent) return;
    if (FComponent) static_cast<TComponent*>(FComponent)->RemoveFreeNotify(*this);
    FComponent = component;
    if (FComponent) static_cast<TComponent*>(FComponent)->AddFreeNotify(*this);
  }

  std::function<void()> OnFree;

 private:
  void FreeNotify(TComponent&) override {
    FComponent = nullptr;
    if (OnFree) OnFree();
  }

  T* FComponent = nullptr;
};

}  // namespace qx
