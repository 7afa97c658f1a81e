// InstallFolder: where the product goes, what that folder and its drive hold,
// and two links: change the location, restore the default. Next is offered only
// for a location the product can be installed to.
#pragma once

#include "app/FolderStatus.h"
#include "app/pages/Page.h"
#include "base/SetupString.h"

class LinkButton;

class InstallFolderPage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "InstallFolder"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override;
  void Enter(Wizard& wizard) override;
  int PaintedTexts(const Wizard& wizard, PaintedText* texts) const override;

  // Recomputes the two folder texts and whether the location is acceptable, and
  // shows or hides Next to match.
  void UpdateStatus(Wizard& wizard);
  void LocationChanged(Wizard& wizard) override { UpdateStatus(wizard); }
  // From now on the texts describe `facts` instead of the machine's drive.
  void UseFolderFacts(const FolderFacts& facts) override {
    fixedFacts_ = facts;
    factsFixed_ = true;
  }
  bool Ok() const { return ok_; }
  const SetupString& Text(int i) const { return text_[i]; }

 private:
  // Puts the two links at their places in the text column, `drop` pixels lower.
  void PlaceLinks(Wizard& wizard, int drop);

  LinkButton* links_[2] = {nullptr, nullptr};  // change the location, restore the default
  SetupString text_[2];
  bool ok_ = false;
  FolderFacts fixedFacts_;
  bool factsFixed_ = false;
};
