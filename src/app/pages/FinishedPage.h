// Finished: the install is complete; a check box offers to run the product.
#pragma once

#include "app/pages/Page.h"

class CheckBox;

class FinishedPage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "Finished"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override { return NavigationBit(kNavigateFinish); }
  void Enter(Wizard& wizard) override;
  int PaintedTexts(const Wizard& wizard, PaintedText* texts) const override;
  bool EndsSetup() const override { return true; }
  // Whether the user left "run the product" ticked.
  bool RunsProductAfterSetup() const override;

  CheckBox* RunAfterSetup() const { return runAfterSetup_; }

 private:
  CheckBox* runAfterSetup_ = nullptr;
};
