#include "packages/flowbus/FBExtCollection.h"

#include "host/PropertyInfo.h"

namespace qx {

const TClassInfo& TFBExtCollection::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBExtCollection>();
  return info;
}

const TClassInfo& TFBExtCollectionItem::StaticClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFBExtCollectionItem>();
  return info;
}

TFBExtCollection::TFBExtCollection(TPersistent* owner, TItemFactory factory)
    : TCollection(owner, std::move(factory)) {}

TCollectionItem& TFBExtCollection::Add() {
  TCollectionItem& item = TCollection::Add();
  Changed();
  return item;
}

void TFBExtCollection::Delete(int index) {
  TCollection::Delete(index);
  Changed();
}

void TFBExtCollection::Clear() {
  TCollection::Clear();
  Changed();
}

void TFBExtCollection::Assign(const TPersistent& source) {
  BeginUpdate();
  try {
    TCollection::Assign(source);
  } catch (...) {
    EndUpdate();
    throw;
  }
  Changed();
  EndUpdate();
}

void TFBExtCollection::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FChangePending) return;
  FChangePending = false;
  if (OnChange) OnChange(*this);
}

void TFBExtCollection::Changed() {
  if (IsUpdating()) {
    FChangePending = true;
  } else if (OnChange) {
    OnChange(*this);
  }
}

void TFBExtCollectionItem::Assign(const TPersistent& source) {
  if (!source.InheritsFrom(ClassInfo())) {
    inherited::Assign(source);
    return;
  }
  for (const TPropertyInfo* property : ClassInfo().GetProperties()) {
    switch (property->GetKind()) {
      case pkObject:
      case pkCollection:
        property->GetObject(*this)->Assign(*property->GetObject(source));
        break;
      case pkComponent:
        property->SetReference(*this, property->GetReference(source));
        break;
      default:
        property->SetJson(*this, property->GetJson(source));
    }
  }
  Changed();
}

void TFBExtCollectionItem::Changed() {
  if (auto* collection = dynamic_cast<TFBExtCollection*>(GetCollection())) collection->Changed();
}

}  // namespace qx
