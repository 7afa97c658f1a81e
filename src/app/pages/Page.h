// Page: one page of the wizard, behind the one interface the wizard steps
// through. A page adds its items to the wizard's lists once, when the wizard is
// built; the wizard records which content items each page added and shows them
// while the page is current.
//
// Adding a page is a class of its own here and one line in the list
// (StandardPages.cpp); nothing else counts pages or names them. What the setup
// does around a page (start the installation, end the setup, take the user's
// choices) it asks the page through the operations below.
#pragma once

#include "platform/WinDefs.h"
#include "render/Image.h"
#include "widgets/SkinSlots.h"

class Wizard;
struct FolderFacts;
struct InstallOptions;

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

// A text a page paints under its items instead of showing it as an item (the
// folder texts change while the page is shown). Positions are page coordinates.
struct PaintedText {
  const char* text = nullptr;
  int x = 0;
  int y = 0;
  COLORREF shadow = 0;
  COLORREF face = 0;
  int font = skinslot::kPageTextFont;
  // The right edge the page fits the text to; 0 when it is the text column's.
  int right = 0;
};

class Page {
 public:
  // The most texts a page paints.
  static constexpr int kMaxPaintedTexts = 4;

  Page() = default;
  virtual ~Page() = default;
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // Which page this is (a WizardPage value for the six standard pages), and
  // its name as the tests, the tools and the test drivers call it
  // ("FileTypes").
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

  // The texts the page paints itself under its items, into `texts` (room for
  // kMaxPaintedTexts); their number. The wizard draws them, and the page check
  // measures the same list.
  virtual int PaintedTexts(const Wizard&, PaintedText* /*texts*/) const { return 0; }

  // Entering the page starts the installation, and while it is shown the pass
  // runs to its end or its error: steps, navigation and keys wait.
  virtual bool RunsInstallation() const { return false; }
  // The setup's last page: a step forward, its buttons and Escape end the setup
  // without asking, and a step back does nothing.
  virtual bool EndsSetup() const { return false; }
  // Whether the setup starts the installed product when it ends from this page.
  virtual bool RunsProductAfterSetup() const { return false; }

  // Writes what the user chose on the page into `options`, before the
  // installation starts.
  virtual void StoreChoices(const Wizard&, InstallOptions&) const {}
  // Answers a link of the page (MSG_LINK with `code`) that the page handles
  // itself; true when what shows changed.
  virtual bool OnLink(Wizard&, int /*code*/) { return false; }
  // The install location (InstallOptions::ParentFolder) changed.
  virtual void LocationChanged(Wizard&) {}
  // The installation has come `fraction` (0..1) of the way; true when what
  // shows changed.
  virtual bool ShowProgress(double /*fraction*/) { return false; }
  // From now on the page describes `facts` instead of the machine's drive, so
  // that a preview or a check of the pages comes out the same on every machine.
  virtual void UseFolderFacts(const FolderFacts&) {}
};
