#include "kskin/DescriptionFields.h"

#include <cstdint>

#include "kskin/DescriptionKeys.h"
#include "kskin/Scale.h"
#include "kskin/SkinWriter.h"

namespace kskin {

namespace {

// The box's edges are scaled, not its size, so that boxes that meet still meet.
Box box(const Where& w, const char* key, int width, int height, double scale) {
  if (!w.table.contains(key)) return Box{0, 0, double(width), double(height)};
  const std::vector<double> v = Numbers(w, key, 4);
  if (scale == 1) return Box{v[0], v[1], v[2], v[3]};
  const double left = ScaledCoordinate(v[0], scale), top = ScaledCoordinate(v[1], scale);
  return Box{left, top, ScaledCoordinate(v[0] + v[2], scale) - left,
             ScaledCoordinate(v[1] + v[3], scale) - top};
}

std::vector<std::pair<double, double>> points(const Where& w, double scale) {
  const toml::array* array = w.table["points"].as_array();
  if (array == nullptr || array->size() < 2) Fail(w, "needs 'points', two or more [x, y]");
  std::vector<std::pair<double, double>> out;
  for (const toml::node& node : *array) {
    const toml::array* point = node.as_array();
    std::optional<double> x, y;
    if (point != nullptr && point->size() == 2) {
      x = (*point)[0].value<double>();
      y = (*point)[1].value<double>();
    }
    if (!x || !y) Fail(w, "a point is not [x, y]");
    out.emplace_back(*x * scale, *y * scale);
  }
  return out;
}

Source source(const Where& w, const Box& area) {
  if (const toml::array* stops = w.table["stops"].as_array()) {
    std::vector<std::pair<double, Colour>> list;
    for (const toml::node& node : *stops) {
      const toml::array* stop = node.as_array();
      std::optional<double> at;
      std::optional<std::string> colour;
      if (stop != nullptr && stop->size() == 2) {
        at = (*stop)[0].value<double>();
        colour = (*stop)[1].value<std::string>();
      }
      if (!at || !colour) Fail(w, "a stop is not [position, \"#rrggbb\"]");
      list.emplace_back(*at, ParseColour(*colour));
    }
    return Gradient(area, Number(w, "angle", 90), list);
  }
  return Solid(ParseColour(Text(w, "colour")));
}

}  // namespace

std::string Place(const toml::node& node) {
  const toml::source_region& at = node.source();
  std::string place = at.path ? *at.path : std::string();
  if (!place.empty() && at.begin.line > 0) place += ":" + std::to_string(at.begin.line);
  return place;
}

// Every complaint reads "FILE:LINE: picture 2: message", the line being where
// the table starts.
[[noreturn]] void FailAt(const toml::node& node, const std::string& name,
                         const std::string& message) {
  const std::string place = Place(node);
  throw SkinError((place.empty() ? "" : place + ": ") + name + ": " + message);
}

void Fail(const Where& where, const std::string& message) {
  FailAt(where.table, where.name, message);
}

double Number(const Where& w, const char* key, std::optional<double> otherwise) {
  if (auto v = w.table[key].value<double>()) return *v;
  if (otherwise) return *otherwise;
  Fail(w, std::string("needs a number '") + key + "'");
}

int Integer(const Where& w, const char* key, std::optional<int> otherwise) {
  if (auto v = w.table[key].value<std::int64_t>()) {
    if (*v < -1000000 || *v > 1000000) Fail(w, std::string("'") + key + "' is out of range");
    return int(*v);
  }
  if (otherwise) return *otherwise;
  Fail(w, std::string("needs a whole number '") + key + "'");
}

std::string Text(const Where& w, const char* key, std::optional<std::string> otherwise) {
  if (auto v = w.table[key].value<std::string>()) return *v;
  if (otherwise) return *otherwise;
  Fail(w, std::string("needs a text '") + key + "'");
}

bool Flag(const Where& w, const char* key, bool otherwise) {
  return w.table[key].value<bool>().value_or(otherwise);
}

std::vector<double> Numbers(const Where& w, const char* key, std::size_t count) {
  const toml::array* array = w.table[key].as_array();
  if (array == nullptr || array->size() != count) {
    Fail(w, std::string("needs '") + key + "' as " + std::to_string(count) + " numbers");
  }
  std::vector<double> out;
  for (const toml::node& node : *array) {
    auto v = node.value<double>();
    if (!v) Fail(w, std::string("'") + key + "' holds something other than numbers");
    out.push_back(*v);
  }
  return out;
}

void ForEachTable(const toml::table& root, const char* key,
                  const std::function<void(const Where&)>& each) {
  const toml::node_view<const toml::node> node = root[key];
  if (!node) return;
  const toml::array* array = node.as_array();
  if (array == nullptr) FailAt(*node.node(), key, "must be a list of tables");
  int i = 0;
  for (const toml::node& element : *array) {
    const toml::table* table = element.as_table();
    const std::string name = std::string(key) + " " + std::to_string(i++);
    if (table == nullptr) FailAt(element, name, "is not a table");
    const Where w{name, *table};
    CheckKeys(w, key);
    WithPlace(w, [&] { each(w); });
  }
}

void WithPlace(const Where& w, const std::function<void()>& body) {
  // What the parts below say without a place (a colour, a font) is said at the
  // table it came from.
  try {
    body();
  } catch (const SkinError& e) {
    const std::string place = Place(w.table);
    if (place.empty() || std::string(e.what()).rfind(place.substr(0, place.rfind(':')), 0) == 0) {
      throw;
    }
    FailAt(w.table, w.name, e.what());
  }
}

std::string LayerType(const Where& w) {
  return Text(w, "type");
}

bool ReadShapeLayer(const Where& w, int width, int height, bool mask, Layer& layer, double scale) {
  CheckKeys(w, "layer");
  const std::string type = LayerType(w);
  const Box area = box(w, "box", width, height, scale);
  // Lengths along the art: radii and line widths.
  const auto length = [&](const char* key, std::optional<double> otherwise = std::nullopt) {
    return Number(w, key, otherwise) * scale;
  };
  layer.smooth = false;
  if (type == "fill") {
    layer.shape = Everywhere();
  } else if (type == "box" || type == "gradient") {
    layer.shape = RoundedBox(area, length("radius", 0));
  } else if (type == "outline") {
    layer.shape = RoundedOutline(area, length("radius", 0), length("width", 1));
  } else if (type == "stroke") {
    layer.shape = Stroke(points(w, scale), length("width", 1));
  } else if (type == "glow") {
    layer.shape = Glow(length("x"), length("y"), length("radius"));
    layer.smooth = true;
  } else if (type == "ring") {
    layer.shape = Ring(length("x"), length("y"), length("radius"), length("width", 1));
    layer.smooth = true;
  } else {
    return false;
  }
  layer.alpha = Number(w, "alpha", 1.0);
  layer.value = Number(w, "value", 255);
  layer.source = mask ? Source() : source(w, area);
  return true;
}

}  // namespace kskin
