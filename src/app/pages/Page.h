// Page: one page of the wizard, behind the one interface the wizard steps
// through. A page adds its items to the wizard's lists once, when the wizard is
// built; the wizard records which content items each page added and shows them
// while the page is current.
//
// Adding a page is a class of its own here and one line in the list
// (StandardPages.cpp); nothing else counts pages.
#pragma once

#include "render/Image.h"

class Wizard;

// What the navigation buttons and the caption's close button post with
// MSG_NAVIGATE, and the links with MSG_LINK.
constexpr int kNavigateBack = 1;
constexpr int kNavigateNext = 2;
constexpr int kNavigateAgree = 3;
constexpr int kNavigateCancel = 4;
constexpr int kNavigateFinish = 5;
constexpr int kLinkBrowse = 9;
constexpr int kLinkRestoreDefaults = 10;
constexpr int kLinkCheckAll = 12;
constexpr int kLinkUncheckAll = 13;

// A set of navigation buttons, by their codes.
constexpr unsigned NavigationBit(int code) {
  return 1u << code;
}

class Page {
 public:
  Page() = default;
  virtual ~Page() = default;
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // Which page this is (a WizardPage value for the six standard pages), and
  // its name as the tests and the test drivers call it ("FileTypes").
  virtual int Id() const = 0;
  virtual const char* Name() const = 0;

  // Adds the page's content items and widgets through the wizard's builders.
  // False when one could not be made.
  virtual bool Build(Wizard& wizard) = 0;

  // The navigation buttons the page shows (NavigationBit of each code).
  virtual unsigned Buttons() const = 0;

  // False when a step passes over the page (a page with nothing to offer).
  virtual bool Offered(const Wizard&) const { return true; }

  // The page becomes current, its items already shown: it may focus a widget or
  // recompute what it says. Leave is called on the page shown before.
  virtual void Enter(Wizard&) {}
  virtual void Leave(Wizard&) {}

  // Draws what the page paints itself under its items; `originX`, `originY` is
  // the page area's top-left in `surface`.
  virtual void PaintBackground(const Wizard&, Image*, int /*originX*/, int /*originY*/) const {}
};
