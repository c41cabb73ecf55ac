#include "host/Collection.h"

#include <algorithm>

#include "host/Exceptions.h"

namespace qx {

const TClassInfo& TCollectionItem::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCollectionItem>();
  return info;
}

const TClassInfo& TCollection::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCollection>();
  return info;
}

int TCollectionItem::GetIndex() const noexcept {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

void TCollectionItem::SetIndex(int index) {
  const int current = GetIndex();
  if (current < 0) return;
  auto& items = FCollection->FItems;
  const int target = std::clamp(index, 0, static_cast<int>(items.size()) - 1);
  auto from = items.begin() + current;
  auto to = items.begin() + target;
  if (target < current) {
    std::rotate(to, from, from + 1);
  } else {
    std::rotate(from, from + 1, to + 1);
  }
}

TCollection::TCollection(TPersistent* owner, TItemFactory factory)
    : FOwner(owner), FFactory(std::move(factory)) {}

TCollection::~TCollection() { Clear(); }

void TCollection::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) {
    throw EPropertyError("collection index " + std::to_string(index) + " out of range 0.." +
                         std::to_string(GetCount() - 1));
  }
}

TCollectionItem& TCollection::GetItem(int index) const {
  CheckIndex(index);
  return *FItems[static_cast<std::size_t>(index)];
}

TCollectionItem& TCollection::Add() {
  std::unique_ptr<TCollectionItem> item = FFactory();
  item->FCollection = this;
  FItems.push_back(std::move(item));
  return *FItems.back();
}

void TCollection::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

void TCollection::Clear() {
  while (!FItems.empty()) FItems.pop_back();
}

void TCollection::Assign(const TPersistent& source) {
  const auto* collection = dynamic_cast<const TCollection*>(&source);
  if (!collection) {
    inherited::Assign(source);
    return;
  }
  if (collection == this) return;
  // Built aside, so that an item refusing its source leaves this collection as it was.
  std::vector<std::unique_ptr<TCollectionItem>> items;
  for (const auto& sourceItem : collection->FItems) {
    std::unique_ptr<TCollectionItem> item = FFactory();
    item->FCollection = this;
    item->Assign(*sourceItem);
    items.push_back(std::move(item));
  }
  Clear();
  FItems = std::move(items);
}

}  // namespace qx
