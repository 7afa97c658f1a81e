// The display scale the window is drawn at: dots an inch over 96. Every layout
// number of the window (sizes, positions, margins, steps) is given for 96 dots
// an inch and goes through Px, so that all rounding to whole pixels happens here.
#pragma once

class DisplayScale {
 public:
  static constexpr int kBaseDpi = 96;

  DisplayScale() = default;
  // A dpi below 96 or past 8 times it counts as 96.
  explicit DisplayScale(int dpi) : dpi_(dpi >= kBaseDpi && dpi <= 8 * kBaseDpi ? dpi : kBaseDpi) {}

  int Dpi() const { return dpi_; }
  bool IsOne() const { return dpi_ == kBaseDpi; }
  // The scale as a whole percentage: 150 at 144 dots an inch.
  int Percent() const { return (dpi_ * 100 + kBaseDpi / 2) / kBaseDpi; }

  // `v` pixels at 96 dots an inch in pixels at this scale, rounded to the
  // nearest (halves away from zero); a length that was not 0 stays at least one
  // pixel.
  int Px(int v) const {
    if (v == 0) return 0;
    const long long magnitude = (v < 0 ? -static_cast<long long>(v) : v) * dpi_;
    long long scaled = (magnitude + kBaseDpi / 2) / kBaseDpi;
    if (scaled == 0) scaled = 1;
    return v < 0 ? int(-scaled) : int(scaled);
  }

 private:
  int dpi_ = kBaseDpi;
};
