// License: the licence text in a scrolling view; I Agree steps on.
#pragma once

#include "app/pages/Page.h"

class TextView;

class LicensePage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "License"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override;
  void Enter(Wizard& wizard) override;

  TextView* Licence() const { return licence_; }

 private:
  TextView* licence_ = nullptr;
};
