// Where the window's parts are in a skin's sprite lists. A skin is a set of
// lists in a fixed order; these are the names of its places, so no caller counts
// slots by hand.
#pragma once

namespace skinslot {

// The sprite list.
constexpr int kBackground = 0;  // the page background, rescaled to the page
// Three bar styles of three pieces each (left, middle, right): set 0 normal,
// set 1 under the mouse, set 2 behind the hot button. Set s starts at
// kBarSets + 3 * s.
constexpr int kBarSets = 1;
constexpr int kBarSetCount = 3;
// The style links, check boxes and the progress bar are drawn over.
constexpr int kWidgetLeft = 10;
constexpr int kWidgetMiddle = 11;
constexpr int kWidgetRight = 12;
// The window's frame.
constexpr int kFrameLeft = 13;
constexpr int kFrameMiddle = 14;
constexpr int kFrameRight = 15;
constexpr int kCloseButton = 16;
constexpr int kTickChecked = 17;
constexpr int kTickUnchecked = 18;

// The font list: the page title, the page text, the licence text.
constexpr int kTitleFont = 0;
constexpr int kPageTextFont = 1;
constexpr int kLicenceFont = 2;

// The standalone sprite list: the window title, then the navigation buttons'
// faces, each at the number of the code its button posts.
constexpr int kTitle = 0;
constexpr int kBackFace = 1;
constexpr int kNextFace = 2;
constexpr int kAgreeFace = 3;
constexpr int kCancelFace = 4;
constexpr int kFinishFace = 5;

}  // namespace skinslot
