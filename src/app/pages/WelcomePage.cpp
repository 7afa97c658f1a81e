#include "app/pages/WelcomePage.h"

#include <algorithm>

#include "app/Wizard.h"

namespace {

// The product's name stands out from the page text.
constexpr COLORREF kProductShadow = 0x000000;
constexpr COLORREF kProductFace = 0xA00000;

}  // namespace

int WelcomePage::Id() const {
  return Welcome;
}

unsigned WelcomePage::Buttons() const {
  return NavigationBit(kNavigateNext) | NavigationBit(kNavigateCancel);
}

bool WelcomePage::Build(Wizard& wizard) {
  const int x0 = wizard.TextLeft();
  const BitmapFont* body = wizard.Font(skinslot::kPageTextFont);
  if (!wizard.AddText(wizard.Texts().text(texts::WelcomeText), x0, wizard.Px(80))) return false;

  // A product name too wide for the column breaks before its first dash, if it
  // has one.
  SetupString product = wizard.Model().displayName;
  if (Wizard::TextSize(body, product.text()).cx > wizard.TextWidth()) {
    const int dash = product.findChar('-');
    if (dash >= 0) product.insertText(dash, "\n");
  }
  const Size productSize = Wizard::TextSize(body, product.text());
  if (!wizard.AddText(product.text(), x0 + (wizard.PageWidth() - x0 - productSize.cx) / 2,
                      wizard.Px(150), skinslot::kPageTextFont, ItemSource::ProductName)) {
    return false;
  }
  productName_ = wizard.content.at(wizard.content.count() - 1);
  productName_->useOwnColours = true;
  productName_->ownShadow = kProductShadow;
  productName_->ownFace = kProductFace;

  // The guide ends above the line in the corner: at its place, or higher when
  // its lines run long (a font's lines drawn for a display scale may be a pixel
  // taller than the scale makes of them).
  const char* guide = wizard.Texts().text(texts::WelcomeGuide);
  const char* next = wizard.Texts().text(texts::WelcomeNext);
  const Size nextSize = Wizard::TextSize(body, next);
  const int nextY = wizard.PageHeight() - nextSize.cy;
  const int guideY = std::min(wizard.Px(210), nextY - Wizard::TextSize(body, guide).cy);
  return wizard.AddText(guide, x0, guideY) &&
         wizard.AddText(next, wizard.PageWidth() - nextSize.cx, nextY);
}
