#include "kskin/Scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "kskin/SkinWriter.h"

namespace kskin {

int ScaledPixels(int pixels, double scale) {
  const long rounded = std::lround(pixels * scale);
  if (rounded == 0 && pixels != 0) return pixels < 0 ? -1 : 1;
  return int(rounded);
}

double ScaledCoordinate(double value, double scale) {
  if (scale == 1) return value;
  const double whole = std::round(value);
  if (whole == value && std::fabs(value) < 1e6) return ScaledPixels(int(whole), scale);
  return value * scale;
}

int ScalePercent(double scale) {
  return int(std::lround(scale * 100));
}

std::vector<double> ParseScales(const std::string& text) {
  std::vector<double> scales;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    char* end = nullptr;
    const double scale = item.empty() ? 0 : std::strtod(item.c_str(), &end);
    if (item.empty() || end != item.c_str() + item.size() || !(scale >= 1 && scale <= 4) ||
        std::fabs(scale * 100 - ScalePercent(scale)) > 1e-6) {
      throw SkinError("--scales: \"" + item +
                      "\" is not a scale from 1 to 4 in whole percent (such as 1.5)");
    }
    scales.push_back(scale);
    at = comma + 1;
  }
  std::sort(scales.begin(), scales.end());
  scales.erase(std::unique(scales.begin(), scales.end()), scales.end());
  return scales;
}

std::string ScaledPath(const std::string& path, int percent) {
  if (percent == 100) return path;
  std::filesystem::path p(path);
  const std::string name =
      p.stem().string() + "@" + std::to_string(percent) + p.extension().string();
  return p.replace_filename(name).string();
}

}  // namespace kskin
