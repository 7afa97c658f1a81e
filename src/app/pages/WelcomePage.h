// Welcome: thanks the user and names the product.
#pragma once

#include "app/pages/Page.h"

class ContentItem;

class WelcomePage : public Page {
 public:
  int Id() const override;
  const char* Name() const override { return "Welcome"; }
  bool Build(Wizard& wizard) override;
  unsigned Buttons() const override;

  // The product's name, in its colours.
  ContentItem* ProductName() const { return productName_; }

 private:
  ContentItem* productName_ = nullptr;
};
