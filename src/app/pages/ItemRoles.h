// ItemRoles: what each item of the pages is, for what reads the pages rather
// than draws them (the page check; later an accessibility tree). The wizard's
// builders fill it as the pages add their items, so a page says what an item is
// where it makes it, and nothing that reads the pages counts positions in the
// content list.
#pragma once

#include "base/PtrArray.h"
#include "base/SetupString.h"

class ContentItem;

// What an item is to the user.
enum class ItemRole {
  Title,        // the heading every page shows
  Picture,      // a picture that says nothing in words
  Text,         // a text to read
  Link,         // a text that acts when pressed
  CheckBox,     // a choice the user ticks
  Button,       // a navigation or caption button
  Document,     // a long text in a scrolling view (the licence)
  ProgressBar,  // how far the installation has come
};

// What of the vendor's an item shows, as far as the vendor can change it; Setup
// for what the setup's own words and art make.
enum class ItemSource {
  Setup,
  SidePicture,
  Logo,
  ProductName,
  OfferedExtension,  // one of the optional extensions offered as check boxes
};

struct ItemDescription {
  const ContentItem* item = nullptr;
  ItemRole role = ItemRole::Text;
  ItemSource source = ItemSource::Setup;
  // The text it shows, for those that show one; empty otherwise.
  SetupString name;
  bool named = false;
  // The skin font its text is drawn in, or -1.
  int font = -1;
};

class ItemRoles {
 public:
  ItemRoles() = default;
  ItemRoles(const ItemRoles&) = delete;
  ItemRoles& operator=(const ItemRoles&) = delete;

  // Describes `item` (a later description of the same item replaces it); `name`
  // null for an item without text. False when memory is short.
  bool Describe(const ContentItem* item, ItemRole role, const char* name, int font,
                ItemSource source = ItemSource::Setup);
  // What `item` was described as, or null.
  const ItemDescription* Of(const ContentItem* item) const;
  ItemDescription* Of(const ContentItem* item);
  int Count() const { return list_.count(); }
  const ItemDescription* At(int i) const { return list_.at(i); }

 private:
  OwningList<ItemDescription> list_{16};
};
