// The fields of kskin's TOML descriptions, and the paint layers that skins and
// icons share: each reader throws SkinError naming the table and the field.
#pragma once

#include <toml++/toml.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kskin/Art.h"

namespace kskin {

// The path of a table in the description, for messages.
struct Where {
  std::string name;
  const toml::table& table;
};

[[noreturn]] void Fail(const Where& where, const std::string& message);
// The same for a node that is not a table: "FILE:LINE: name: message".
[[noreturn]] void FailAt(const toml::node& node, const std::string& name,
                         const std::string& message);

// "FILE:LINE" of a node of the description, or "" for one made in memory.
std::string Place(const toml::node& node);

double Number(const Where& w, const char* key, std::optional<double> otherwise = std::nullopt);
// Whole numbers beyond a million either way are refused.
int Integer(const Where& w, const char* key, std::optional<int> otherwise = std::nullopt);
std::string Text(const Where& w, const char* key,
                 std::optional<std::string> otherwise = std::nullopt);
bool Flag(const Where& w, const char* key, bool otherwise);
std::vector<double> Numbers(const Where& w, const char* key, std::size_t count);

// Runs `body`; a SkinError it throws that names no place of the description is
// said again at w's table.
void WithPlace(const Where& w, const std::function<void()>& body);

// Calls each(Where) for every table of the list `key` of root ("key 0", "key 1"
// ...); nothing when root has no such key.
void ForEachTable(const toml::table& root, const char* key,
                  const std::function<void(const Where&)>& each);

// A paint layer of one of the shape types: fill, gradient, box, outline, stroke,
// glow, ring. Colours come from `colour` or `stops` (along `angle`), masks take
// `value`; `box` defaults to the whole picture of width x height.
struct Layer {
  Shape shape;
  Source source;  // null when the layer names no colour (a mask's layer)
  double alpha = 1;
  double value = 255;
  bool smooth = false;
};

// Reads the layer, or returns false when its type is none of the shapes above
// (the caller may know more types); throws for a shape layer that is wrong. At
// `scale` every position and length of the layer is multiplied by it (width and
// height are the picture's size at that scale).
bool ReadShapeLayer(const Where& w, int width, int height, bool mask, Layer& layer,
                    double scale = 1);

// The layer's `type`.
std::string LayerType(const Where& w);

}  // namespace kskin
