// What the tests read from a wizard's pages, found by the roles the pages give
// their items (never by their place in the content list), and the page only
// the tests have.
#pragma once

#include <vector>

#include "app/Wizard.h"
#include "app/pages/StandardPages.h"

// The widgets of the items described as `role` showing `source`, in the order
// the pages made them.
template <typename W>
std::vector<W*> widgetsWithRole(const Wizard& wizard, ItemRole role,
                                ItemSource source = ItemSource::Setup) {
  std::vector<W*> found;
  for (int i = 0; i < wizard.Roles().Count(); ++i) {
    const ItemDescription* d = wizard.Roles().At(i);
    if (d->role == role && d->source == source && d->item->widget != nullptr) {
      found.push_back(static_cast<W*>(d->item->widget));
    }
  }
  return found;
}

// The check boxes of the optional extensions.
inline std::vector<CheckBox*> offeredBoxes(const Wizard& wizard) {
  return widgetsWithRole<CheckBox>(wizard, ItemRole::CheckBox, ItemSource::OfferedExtension);
}

// What the progress bar says, or "" without one.
inline const char* progressText(const Wizard& wizard) {
  const std::vector<ProgressBar*> bars =
      widgetsWithRole<ProgressBar>(wizard, ItemRole::ProgressBar);
  return bars.empty() ? "" : bars[0]->Text();
}

// A page only the tests have: one line of text, Back and Next, and a count of
// its entries and exits. Adding it is this class and one line in a page list.
class CountingPage : public Page {
 public:
  static constexpr int kId = 100;
  // The text it shows; a long one runs out of the text column.
  static const char* text;
  int Id() const override { return kId; }
  const char* Name() const override { return "Counting"; }
  bool Build(Wizard& wizard) override {
    return wizard.AddText(text, wizard.TextLeft(), wizard.Px(80));
  }
  unsigned Buttons() const override {
    return NavigationBit(kNavigateBack) | NavigationBit(kNavigateNext);
  }
  void Enter(Wizard&) override { ++entered; }
  void Leave(Wizard&) override { ++left; }
  int entered = 0;
  int left = 0;
};
inline const char* CountingPage::text = "A page of the tests";

// The standard pages with the test page after License.
inline bool AddPagesWithCountingPage(PageList& pages) {
  if (!AddStandardPages(pages)) return false;
  auto* page = new CountingPage;
  if (pages.insertAt(2, page) < 0) {
    delete page;
    return false;
  }
  return true;
}
