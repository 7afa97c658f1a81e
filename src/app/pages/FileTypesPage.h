// FileTypes: a check box for each optional extension of the package's one
// selectable file type, and links that tick or clear them all. Steps pass over
// it when the package offers no optional file types.
#pragma once

#include "app/pages/Page.h"

class CheckBox;
class LinkButton;
struct InstallOptions;

class FileTypesPage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "FileTypes"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override;
  bool Offered(const Wizard& wizard) const override;
  void Enter(Wizard& wizard) override;
  // Check All and Uncheck All.
  bool OnLink(Wizard& wizard, int code) override;
  // The boxes' states in order into options.fileTypeChoices (as many as it
  // holds; those past it count as unchecked).
  void StoreChoices(const Wizard& wizard, InstallOptions& options) const override;

  int BoxCount() const { return boxCount_; }
  // The i-th check box, or null past the last.
  CheckBox* Box(const Wizard& wizard, int i) const;
  LinkButton* UncheckAllLink() const { return uncheckAll_; }

 private:
  bool BuildBoxes(Wizard& wizard);

  LinkButton* checkAll_ = nullptr;
  LinkButton* uncheckAll_ = nullptr;
  int firstBox_ = -1;  // in the wizard's widget list
  int boxCount_ = 0;
};
