// TCollection: an owned, ordered list of items of one class, published as a
// property of its owner (see `CollectionProperty` in host/Properties.h).
//
// Items derive from TCollectionItem and declare their own published
// properties; a form file stores a collection as a JSON array with one object
// of item properties per item. The collection creates its items (through the
// factory it is built with) and destroys them; remove an item with `Delete`,
// never by deleting it. Most owners use the typed form:
//
//   class TQXChannel : public TCollectionItem { QX_CLASS(TQXChannel, TCollectionItem) ... };
//   TTypedCollection<TQXChannel> FChannels{this};
//   TQXChannel& channel = FChannels.Add();
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "host/Persistent.h"

namespace qx {

class TCollection;

class TCollectionItem : public TPersistent {
  QX_CLASS(TCollectionItem, TPersistent)

 public:
  // The collection that holds the item (null until it is added to one).
  TCollection* GetCollection() const noexcept { return FCollection; }
  // The item's position in its collection (-1 outside a collection).
  int GetIndex() const noexcept;
  // Moves the item to position `index` (clamped to the collection's range).
  void SetIndex(int index);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
  QX_CLASS(TCollection, TPersistent)

 public:
  using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;

  // `owner` is the persistent object that publishes the collection (may be
  // null); `factory` makes a new, empty item.
  TCollection(TPersistent* owner, TItemFactory factory);
  ~TCollection() override;

  TPersistent* GetOwner() const noexcept { return FOwner; }
  int GetCount() const noexcept { return static_cast<int>(FItems.size()); }
  // The item at `index`; raises EPropertyError outside 0..Count-1.
  TCollectionItem& GetItem(int index) const;

  // Appends a new item and returns it.
  TCollectionItem& Add();
  // Destroys the item at `index`; raises EPropertyError outside 0..Count-1.
  void Delete(int index);
  // Destroys every item, the last first.
  void Clear();

  // From another collection: replaces the items by new ones, each assigned
  // from the source item at the same position.
  void Assign(const TPersistent& source) override;

 private:
  friend class TCollectionItem;
  void CheckIndex(int index) const;

  TPersistent* FOwner;
  TItemFactory FFactory;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
};

// A collection whose items are of class Item, with typed access.
template <class Item>
class TTypedCollection : public TCollection {
  static_assert(std::is_base_of_v<TCollectionItem, Item>);

 public:
  explicit TTypedCollection(TPersistent* owner)
      : TCollection(owner, [] { return std::make_unique<Item>(); }) {}

  Item& Add() { return static_cast<Item&>(TCollection::Add()); }
  Item& GetItem(int index) const { return static_cast<Item&>(TCollection::GetItem(index)); }
};

}  // namespace qx
