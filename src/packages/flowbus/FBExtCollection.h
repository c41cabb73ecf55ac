// TFBExtCollection: a collection that tells its owner when it changes.
//
// Items derive from TFBExtCollectionItem and call `Changed()` from their
// setters; adding, deleting, clearing and assigning through the collection
// report a change too. `OnChange` runs once per change, or once at the end
// of an update bracket however many changes it held:
//
//   FDevices.BeginUpdate();
//   for (...) FDevices.Add().SetName(name);
//   FDevices.EndUpdate();   // OnChange runs here, once
//
// Reading a form file fills the collection through the plain collection
// interface without reporting: a component that reacts to the collection
// does so in `Loaded`. Used from one thread at a time, like the component
// that owns it.
#pragma once

#include <functional>
#include <memory>

#include "host/Collection.h"

namespace qx {

class TFBExtCollection : public TCollection {
  QX_CLASS(TFBExtCollection, TCollection)

 public:
  TFBExtCollection(TPersistent* owner, TItemFactory factory);

  TCollectionItem& Add();
  void Delete(int index);
  void Clear();
  void Assign(const TPersistent& source) override;

  void BeginUpdate() noexcept { ++FUpdateCount; }
  // Ends a bracket; the last one reports the changes it held.
  void EndUpdate();
  bool IsUpdating() const noexcept { return FUpdateCount > 0; }

  // Reports a change now, or at the end of the update bracket.
  void Changed();

  std::function<void(TFBExtCollection& sender)> OnChange;

 private:
  int FUpdateCount = 0;
  bool FChangePending = false;
};

// An item that copies itself property by property: `Assign` from an item of
// the same class (or a derived one) copies every published property of this
// class, then reports the change.
class TFBExtCollectionItem : public TCollectionItem {
  QX_CLASS(TFBExtCollectionItem, TCollectionItem)

 public:
  void Assign(const TPersistent& source) override;

 protected:
  // Reports a change of this item to its collection, if it is in one.
  void Changed();
};

// A TFBExtCollection of items of class Item, with typed access.
template <class Item>
class TFBTypedExtCollection : public TFBExtCollection {
  static_assert(std::is_base_of_v<TFBExtCollectionItem, Item>);

 public:
  explicit TFBTypedExtCollection(TPersistent* owner)
      : TFBExtCollection(owner, [] { return std::make_unique<Item>(); }) {}

  Item& Add() { return static_cast<Item&>(TFBExtCollection::Add()); }
  Item& GetItem(int index) const { return static_cast<Item&>(TCollection::GetItem(index)); }
};

}  // namespace qx
