// The one reference count of the library and its smart pointer.
//
// Every reference-counted object (frames, pixel storage, stream operations,
// streams, platform interfaces) derives from `TRefCounted`, which holds an
// atomic count and destroys the object when the last reference goes.
//
// Interfaces are abstract classes that derive *virtually* from `TRefCounted`:
//
//   class IQXFoo : public virtual TRefCounted { public: virtual void Foo() = 0; };
//   class IQXBar : public virtual TRefCounted { public: virtual void Bar() = 0; };
//   class TQXFooBar : public IQXFoo, public IQXBar { ... };
//
// so that an object implementing several interfaces still has exactly one
// count, whichever interface a holder uses. Holders keep objects through
// `TRefPtr<T>`; receivers tell objects apart by class with `RefCast`.
//
// A new object starts with no reference: create it with `MakeRef<T>(...)` (or
// `TRefPtr<T>(new T(...))`) and keep at least one `TRefPtr` to it. Never put a
// reference-counted object on the stack or in a `std::unique_ptr`.
#pragma once

#include <atomic>
#include <compare>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

namespace qx {

class TRefCounted {
 public:
  // Adds a reference. Any thread.
  void AddRef() const noexcept { FRefCount.fetch_add(1, std::memory_order_relaxed); }

  // Drops a reference; the object is deleted when it was the last one. Any
  // thread; the thread that drops the last reference runs the destructor.
  void Release() const noexcept {
    if (FRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }

  // The current number of references. With 1, the caller's reference is the
  // only one and no other thread can add one (copy-on-write relies on this);
  // any other value is a snapshot that may already have changed.
  int GetRefCount() const noexcept { return FRefCount.load(std::memory_order_acquire); }

 protected:
  TRefCounted() noexcept = default;
  // A copy is a new object: it starts without references.
  TRefCounted(const TRefCounted&) noexcept {}
  TRefCounted& operator=(const TRefCounted&) noexcept { return *this; }
  virtual ~TRefCounted() = default;

 private:
  mutable std::atomic<int> FRefCount{0};
};

template <class T>
concept RefCountedType = std::is_base_of_v<TRefCounted, std::remove_cv_t<T>>;

// An owning pointer to a reference-counted object: copying adds a reference,
// destruction or reset drops one. Comparison and hashing go by object
// identity, so two pointers to different interfaces of one object are equal.
template <class T>
class TRefPtr {
 public:
  using element_type = T;

  constexpr TRefPtr() noexcept = default;
  constexpr TRefPtr(std::nullptr_t) noexcept {}

  // Shares `object`: adds a reference to it.
  explicit TRefPtr(T* object) noexcept : FObject(object) {
    if (FObject) FObject->AddRef();
  }

  // Takes over a reference that the caller already counted (for example one
  // given up by `Detach`), without adding one.
  [[nodiscard]] static TRefPtr Adopt(T* object) noexcept {
    TRefPtr result;
    result.FObject = object;
    return result;
  }

  TRefPtr(const TRefPtr& other) noexcept : TRefPtr(other.FObject) {}
  TRefPtr(TRefPtr&& other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}

  template <class U>
  requires std::is_convertible_v<U*, T*> TRefPtr(const TRefPtr<U>& other)
  noexcept : TRefPtr(other.Get()) {}

  template <class U>
  requires std::is_convertible_v<U*, T*> TRefPtr(TRefPtr<U>&& other)
  noexcept : FObject(other.Detach()) {}

  ~TRefPtr() {
    if (FObject) FObject->Release();
  }

  TRefPtr& operator=(TRefPtr other) noexcept {
    std::swap(FObject, other.FObject);
    return *this;
  }

  // Shares `object` instead of the current one.
  void Reset(T* object = nullptr) noexcept { *this = TRefPtr(object); }

  // Gives up the reference without dropping it; the caller now owns it and
  // must hand it to `Adopt` or call `Release` later.
  [[nodiscard]] T* Detach() noexcept { return std::exchange(FObject, nullptr); }

  T* Get() const noexcept { return FObject; }
  T& operator*() const noexcept { return *FObject; }
  T* operator->() const noexcept { return FObject; }
  explicit operator bool() const noexcept { return FObject != nullptr; }

  // The identity of the object: its single `TRefCounted` part.
  const TRefCounted* Identity() const noexcept { return FObject; }

  friend bool operator==(const TRefPtr& a, std::nullptr_t) noexcept { return !a.FObject; }

  template <class U>
  friend bool operator==(const TRefPtr& a, const TRefPtr<U>& b) noexcept {
    return a.Identity() == b.Identity();
  }

  template <class U>
  friend std::strong_ordering operator<=>(const TRefPtr& a, const TRefPtr<U>& b) noexcept {
    return std::compare_three_way{}(a.Identity(), b.Identity());
  }

 private:
  T* FObject = nullptr;
};

// Creates a `T` and returns the first reference to it.
template <RefCountedType T, class... Args>
TRefPtr<T> MakeRef(Args&&... args) {
  return TRefPtr<T>(new T(std::forward<Args>(args)...));
}

// The same object seen as a `U` (another interface or its class), or null
// when it is not one.
template <class U, class T>
TRefPtr<U> RefCast(const TRefPtr<T>& object) noexcept {
  return TRefPtr<U>(dynamic_cast<U*>(object.Get()));
}

}  // namespace qx

template <class T>
struct std::hash<qx::TRefPtr<T>> {
  std::size_t operator()(const qx::TRefPtr<T>& p) const noexcept {
    return std::hash<const qx::TRefCounted*>{}(p.Identity());
  }
};
