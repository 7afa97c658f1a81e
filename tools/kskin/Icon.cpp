#include "kskin/Icon.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "kskin/Art.h"
#include "kskin/DescriptionFields.h"
#include "kskin/DescriptionKeys.h"
#include "render/Image.h"

namespace kskin {

namespace {

// Paints the layers over a black picture and a black coverage picture alike,
// so that the colour comes out premultiplied by the coverage, which is then
// divided out. `scale` turns the picture's pixels into the layers' units.
void paintLayers(const Where& w, double scale, int size, IconArt& art) {
  const toml::array* layers = w.table["paint"].as_array();
  if (layers == nullptr) Fail(w, "needs 'paint' layers");
  Image colour, coverage;
  Blank(colour, size, size, false);
  Blank(coverage, size, size, false);
  // The layers' default box is the whole canvas.
  const int units = int(std::lround(size * scale));
  int i = 0;
  for (const toml::node& node : *layers) {
    const toml::table* table = node.as_table();
    const std::string where = w.name + " layer " + std::to_string(i++);
    if (table == nullptr) FailAt(node, where, "is not a table");
    Layer layer;
    if (!ReadShapeLayer(Where{where, *table}, units, units, false, layer)) {
      Fail(Where{where, *table}, "unknown layer type \"" + LayerType(Where{where, *table}) + "\"");
    }
    const Shape shape = [&](double x, double y) { return layer.shape(x * scale, y * scale); };
    const Source source = [&](double x, double y) { return layer.source(x * scale, y * scale); };
    Paint(colour, shape, source, layer.alpha, layer.smooth);
    Paint(coverage, shape, Solid(Colour{255, 255, 255}), layer.alpha, layer.smooth);
  }
  art.size = size;
  art.bgra.assign(std::size_t(size) * size * 4, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const unsigned char* c = colour.PixelAt(x, y);
      const int a = coverage.PixelAt(x, y)[0];
      unsigned char* out = &art.bgra[(std::size_t(y) * size + x) * 4];
      out[3] = (unsigned char)a;
      if (a == 0) continue;
      for (int k = 0; k < 3; ++k) out[k] = (unsigned char)std::min(255, (c[k] * 255 + a / 2) / a);
    }
  }
}

}  // namespace

std::vector<IconArt> DrawIcon(const std::string& path, const std::vector<int>& sizes) {
  toml::table root;
  try {
    root = toml::parse_file(path);
  } catch (const toml::parse_error& e) {
    throw SkinError(path + ":" + std::to_string(e.source().begin.line) + ": " +
                    std::string(e.description()));
  }
  const Where top{"icon", root};
  CheckKeys(top, "icon");
  const double canvas = Number(top, "canvas", 48);
  if (canvas < 1 || canvas > 1024) Fail(top, "'canvas' is out of range");
  std::map<int, const toml::table*> ownArt;
  ForEachTable(root, "size", [&](const Where& w) {
    const int pixels = Integer(w, "pixels");
    if (std::find(sizes.begin(), sizes.end(), pixels) == sizes.end()) {
      Fail(w, "the icon has no size of " + std::to_string(pixels) + " pixels");
    }
    ownArt[pixels] = &w.table;
  });
  std::vector<IconArt> arts;
  for (int size : sizes) {
    if (size < 1 || size > 256) throw SkinError("icon sizes are 1 to 256 pixels");
    IconArt art;
    auto own = ownArt.find(size);
    if (own != ownArt.end()) {
      const Where w{"size " + std::to_string(size), *own->second};
      WithPlace(w, [&] { paintLayers(w, 1.0, size, art); });
    } else {
      WithPlace(top, [&] { paintLayers(top, canvas / size, size, art); });
    }
    arts.push_back(std::move(art));
  }
  return arts;
}

}  // namespace kskin
