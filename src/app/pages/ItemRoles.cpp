#include "app/pages/ItemRoles.h"

#include <new>

bool ItemRoles::Describe(const ContentItem* item, ItemRole role, const char* name, int font,
                         ItemSource source) {
  ItemDescription* d = Of(item);
  if (d == nullptr) {
    d = new (std::nothrow) ItemDescription;
    if (d == nullptr || list_.add(d) < 0) {
      delete d;
      return false;
    }
    d->item = item;
  }
  d->role = role;
  d->source = source;
  d->named = name != nullptr;
  d->name = name != nullptr ? name : "";
  d->font = font;
  return true;
}

const ItemDescription* ItemRoles::Of(const ContentItem* item) const {
  for (int i = 0; i < list_.count(); ++i) {
    if (list_.at(i)->item == item) return list_.at(i);
  }
  return nullptr;
}

ItemDescription* ItemRoles::Of(const ContentItem* item) {
  return const_cast<ItemDescription*>(static_cast<const ItemRoles*>(this)->Of(item));
}
