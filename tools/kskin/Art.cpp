#include "kskin/Art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "kskin/SkinWriter.h"

namespace kskin {

namespace {

constexpr int kSamples = 4;

double clamp01(double v) {
  return v < 0 ? 0 : v > 1 ? 1 : v;
}

unsigned char toByte(double v) {
  return (unsigned char)std::lround(std::clamp(v, 0.0, 255.0));
}

// Coverage of pixel (x, y): the shape at its centre, or the mean of 4 x 4 samples.
double coverage(const Shape& shape, int x, int y, bool smooth) {
  if (smooth) return clamp01(shape(x + 0.5, y + 0.5));
  double sum = 0;
  for (int j = 0; j < kSamples; ++j) {
    for (int i = 0; i < kSamples; ++i) {
      sum += clamp01(shape(x + (i + 0.5) / kSamples, y + (j + 0.5) / kSamples));
    }
  }
  return sum / (kSamples * kSamples);
}

bool insideRounded(const Box& b, double r, double x, double y) {
  if (x < b.left || y < b.top || x > b.left + b.width || y > b.top + b.height) return false;
  r = std::min({r, b.width / 2, b.height / 2});
  if (r <= 0) return true;
  const double cx = std::clamp(x, b.left + r, b.left + b.width - r);
  const double cy = std::clamp(y, b.top + r, b.top + b.height - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? clamp01(((px - ax) * dx + (py - ay) * dy) / length2) : 0;
  const double qx = ax + t * dx - px, qy = ay + t * dy - py;
  return std::sqrt(qx * qx + qy * qy);
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Colour ParseColour(const std::string& text) {
  int v[6];
  bool ok = text.size() == 7 && text[0] == '#';
  for (int i = 0; ok && i < 6; ++i) ok = (v[i] = hexDigit(text[i + 1])) >= 0;
  if (!ok) throw SkinError("not a colour (#rrggbb): \"" + text + "\"");
  return Colour{double(v[0] * 16 + v[1]), double(v[2] * 16 + v[3]), double(v[4] * 16 + v[5])};
}

Shape Everywhere() {
  return [](double, double) { return 1.0; };
}

Shape RoundedBox(const Box& box, double radius) {
  return [=](double x, double y) { return insideRounded(box, radius, x, y) ? 1.0 : 0.0; };
}

Shape RoundedOutline(const Box& box, double radius, double width) {
  const Box inner{box.left + width, box.top + width, box.width - 2 * width, box.height - 2 * width};
  const double innerRadius = std::max(0.0, radius - width);
  return [=](double x, double y) {
    return insideRounded(box, radius, x, y) && !insideRounded(inner, innerRadius, x, y) ? 1.0 : 0.0;
  };
}

Shape Stroke(const std::vector<std::pair<double, double>>& points, double width) {
  return [=](double x, double y) {
    double nearest = 1e9;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
      nearest = std::min(nearest, segmentDistance(x, y, points[i].first, points[i].second,
                                                  points[i + 1].first, points[i + 1].second));
    }
    return nearest <= width / 2 ? 1.0 : 0.0;
  };
}

Shape Glow(double cx, double cy, double radius) {
  return [=](double x, double y) {
    const double d = std::hypot(x - cx, y - cy) / radius;
    const double t = clamp01(1 - d);
    return t * t * (3 - 2 * t);
  };
}

Shape Ring(double cx, double cy, double radius, double width) {
  return [=](double x, double y) {
    const double d = (std::hypot(x - cx, y - cy) - radius) / width;
    return std::exp(-d * d);
  };
}

Source Solid(const Colour& colour) {
  return [=](double, double) { return colour; };
}

Source Gradient(const Box& box, double angle, const std::vector<std::pair<double, Colour>>& stops) {
  if (stops.empty()) throw SkinError("a gradient needs at least one stop");
  const double a = angle * M_PI / 180;
  const double ux = std::cos(a), uy = std::sin(a);
  // The projections of the box's corners bound the positions 0..1.
  double low = 1e300, high = -1e300;
  for (double cx : {box.left, box.left + box.width}) {
    for (double cy : {box.top, box.top + box.height}) {
      low = std::min(low, cx * ux + cy * uy);
      high = std::max(high, cx * ux + cy * uy);
    }
  }
  const double span = high - low > 0 ? high - low : 1;
  return [=](double x, double y) {
    const double t = clamp01((x * ux + y * uy - low) / span);
    if (t <= stops.front().first) return stops.front().second;
    for (std::size_t i = 1; i < stops.size(); ++i) {
      if (t <= stops[i].first) {
        const double t0 = stops[i - 1].first, t1 = stops[i].first;
        const double f = t1 > t0 ? (t - t0) / (t1 - t0) : 1;
        const Colour& c0 = stops[i - 1].second;
        const Colour& c1 = stops[i].second;
        return Colour{c0.red + (c1.red - c0.red) * f, c0.green + (c1.green - c0.green) * f,
                      c0.blue + (c1.blue - c0.blue) * f};
      }
    }
    return stops.back().second;
  };
}

void Paint(Image& picture, const Shape& shape, const Source& source, double alpha, bool smooth) {
  for (int y = 0; y < picture.Height(); ++y) {
    unsigned char* p = picture.PixelAt(0, y);
    for (int x = 0; x < picture.Width(); ++x, p += 3) {
      const double a = clamp01(alpha) * coverage(shape, x, y, smooth);
      if (a <= 0) continue;
      const Colour c = source(x + 0.5, y + 0.5);
      p[0] = toByte(p[0] + (c.blue - p[0]) * a);
      p[1] = toByte(p[1] + (c.green - p[1]) * a);
      p[2] = toByte(p[2] + (c.red - p[2]) * a);
    }
  }
}

void PaintMask(Image& mask, const Shape& shape, double value, bool smooth) {
  for (int y = 0; y < mask.Height(); ++y) {
    unsigned char* p = mask.PixelAt(0, y);
    for (int x = 0; x < mask.Width(); ++x) {
      p[x] = std::max(p[x], toByte(value * coverage(shape, x, y, smooth)));
    }
  }
}

void ShadowOf(const Image& mask, Image& shadow, int dx, int dy, int blur, double strength) {
  const int w = mask.Width(), h = mask.Height();
  std::vector<double> values(std::size_t(w) * h, 0.0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int sx = x - dx, sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < w && sy < h) values[y * w + x] = mask.PixelAt(sx, sy)[0];
    }
  }
  for (int pass = 0; pass < blur; ++pass) {
    std::vector<double> next(values.size(), 0.0);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        double sum = 0;
        for (int j = -1; j <= 1; ++j) {
          for (int i = -1; i <= 1; ++i) {
            const int sx = x + i, sy = y + j;
            if (sx >= 0 && sy >= 0 && sx < w && sy < h) sum += values[sy * w + sx];
          }
        }
        next[y * w + x] = sum / 9;
      }
    }
    values.swap(next);
  }
  Blank(shadow, w, h, true);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) shadow.PixelAt(x, y)[0] = toByte(values[y * w + x] * strength);
  }
}

void Blank(Image& image, int width, int height, bool grey) {
  if (!(grey ? image.CreateGrey(width, height) : image.Create(width, height, 24))) {
    throw SkinError("cannot make a picture of " + std::to_string(width) + " x " +
                    std::to_string(height));
  }
  std::memset(image.Bits(), 0, image.PixelBytes());
}

}  // namespace kskin
