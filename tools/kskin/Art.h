// Drawing the skin's art: gradients, soft glows, rounded panels and strokes,
// anti-aliased by sampling each pixel 4 x 4 times. Pictures are 24-bit Images,
// masks grey ones; coordinates are pixels from the top left, a pixel's centre at
// (x + 0.5, y + 0.5).
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "render/Image.h"

namespace kskin {

struct Colour {
  double red = 0;
  double green = 0;
  double blue = 0;
};

// "#rrggbb"; throws SkinError for anything else.
Colour ParseColour(const std::string& text);

struct Box {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// A coverage function: how much of the point (x, y) the shape covers, 0..1.
using Shape = std::function<double(double x, double y)>;

// A colour for each point: a paint's source.
using Source = std::function<Colour(double x, double y)>;

Shape Everywhere();
// A rectangle with corners rounded by `radius`.
Shape RoundedBox(const Box& box, double radius);
// The band `width` wide just inside a rounded rectangle's edge.
Shape RoundedOutline(const Box& box, double radius, double width);
// A polyline `width` wide with round ends and joins.
Shape Stroke(const std::vector<std::pair<double, double>>& points, double width);
// Soft shapes, smooth enough to need no sampling: a glow fading from its centre
// to nothing at `radius`, and a ring of Gaussian section around `radius`.
Shape Glow(double cx, double cy, double radius);
Shape Ring(double cx, double cy, double radius, double width);

Source Solid(const Colour& colour);
// Stops (position 0..1, colour) along the direction `angle` degrees (0: left to
// right, 90: top to bottom) across `box`.
Source Gradient(const Box& box, double angle, const std::vector<std::pair<double, Colour>>& stops);

// Paints `source` over a 24-bit picture where `shape` covers it, at `alpha`.
// `smooth` shapes are taken at pixel centres; others are sampled 4 x 4.
void Paint(Image& picture, const Shape& shape, const Source& source, double alpha,
           bool smooth = false);

// Unites value * coverage into a grey mask (the brighter wins).
void PaintMask(Image& mask, const Shape& shape, double value, bool smooth = false);

// A copy of `mask` moved by (dx, dy), blurred `blur` times by a 3 x 3 box and
// scaled by `strength`, of the same size.
void ShadowOf(const Image& mask, Image& shadow, int dx, int dy, int blur, double strength);

// A 24-bit or grey image of width x height, all black or all 0.
void Blank(Image& image, int width, int height, bool grey);

}  // namespace kskin
