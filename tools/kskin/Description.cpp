#include "kskin/Description.h"

#include <toml++/toml.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "base/ByteStream.h"
#include "kskin/Art.h"
#include "kskin/FontRender.h"
#include "kskin/ImageFiles.h"
#include "render/BitmapFont.h"
#include "render/Image.h"
#include "render/Jpeg.h"

namespace kskin {

namespace {

namespace fs = std::filesystem;

// The path of a table in the description, for messages.
struct Where {
  std::string name;
  const toml::table& table;
};

[[noreturn]] void fail(const Where& where, const std::string& message) {
  throw SkinError(where.name + ": " + message);
}

double number(const Where& w, const char* key, std::optional<double> otherwise = std::nullopt) {
  if (auto v = w.table[key].value<double>()) return *v;
  if (otherwise) return *otherwise;
  fail(w, std::string("needs a number '") + key + "'");
}

int integer(const Where& w, const char* key, std::optional<int> otherwise = std::nullopt) {
  if (auto v = w.table[key].value<std::int64_t>()) {
    if (*v < -1000000 || *v > 1000000) fail(w, std::string("'") + key + "' is out of range");
    return int(*v);
  }
  if (otherwise) return *otherwise;
  fail(w, std::string("needs a whole number '") + key + "'");
}

std::string text(const Where& w, const char* key,
                 std::optional<std::string> otherwise = std::nullopt) {
  if (auto v = w.table[key].value<std::string>()) return *v;
  if (otherwise) return *otherwise;
  fail(w, std::string("needs a text '") + key + "'");
}

bool flag(const Where& w, const char* key, bool otherwise) {
  return w.table[key].value<bool>().value_or(otherwise);
}

std::vector<double> numbers(const Where& w, const char* key, std::size_t count) {
  const toml::array* array = w.table[key].as_array();
  if (array == nullptr || array->size() != count) {
    fail(w, std::string("needs '") + key + "' as " + std::to_string(count) + " numbers");
  }
  std::vector<double> out;
  for (const toml::node& node : *array) {
    auto v = node.value<double>();
    if (!v) fail(w, std::string("'") + key + "' holds something other than numbers");
    out.push_back(*v);
  }
  return out;
}

Box box(const Where& w, const char* key, const Image& image) {
  if (!w.table.contains(key)) return Box{0, 0, double(image.Width()), double(image.Height())};
  const std::vector<double> v = numbers(w, key, 4);
  return Box{v[0], v[1], v[2], v[3]};
}

std::vector<std::pair<double, double>> points(const Where& w) {
  const toml::array* array = w.table["points"].as_array();
  if (array == nullptr || array->size() < 2) fail(w, "needs 'points', two or more [x, y]");
  std::vector<std::pair<double, double>> out;
  for (const toml::node& node : *array) {
    const toml::array* point = node.as_array();
    std::optional<double> x, y;
    if (point != nullptr && point->size() == 2) {
      x = (*point)[0].value<double>();
      y = (*point)[1].value<double>();
    }
    if (!x || !y) fail(w, "a point is not [x, y]");
    out.emplace_back(*x, *y);
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
      if (!at || !colour) fail(w, "a stop is not [position, \"#rrggbb\"]");
      list.emplace_back(*at, ParseColour(*colour));
    }
    return Gradient(area, number(w, "angle", 90), list);
  }
  return Solid(ParseColour(text(w, "colour")));
}

class Builder {
 public:
  Builder(const fs::path& description, const BuildOptions& options) {
    searchPaths_.push_back(description.parent_path());
    for (const std::string& p : options.searchPaths) searchPaths_.emplace_back(p);
  }

  SkinContent Build(const toml::table& root) {
    SkinContent skin;
    forEach(root, "sheet", [&](const Where& w) { makeImage(w, false, skin); });
    forEach(root, "picture", [&](const Where& w) { makeImage(w, true, skin); });
    forEach(root, "sprite", [&](const Where& w) { skin.sprites.push_back(definition(w)); });
    forEach(root, "font", [&](const Where& w) { skin.fonts.push_back(font(w)); });
    forEach(root, "caption", [&](const Where& w) { skin.standalone.push_back(caption(w, skin)); });
    return skin;
  }

 private:
  template <class F>
  void forEach(const toml::table& root, const char* key, F&& each) {
    const toml::node_view<const toml::node> node = root[key];
    if (!node) return;
    const toml::array* array = node.as_array();
    if (array == nullptr) throw SkinError(std::string("'") + key + "' must be a list of tables");
    int i = 0;
    for (const toml::node& element : *array) {
      const toml::table* table = element.as_table();
      const std::string name = std::string(key) + " " + std::to_string(i++);
      if (table == nullptr) throw SkinError(name + " is not a table");
      each(Where{name, *table});
    }
  }

  fs::path find(const Where& w, const std::string& file) const {
    const fs::path path(file);
    if (path.is_absolute()) return path;
    for (const fs::path& folder : searchPaths_) {
      std::error_code error;
      if (fs::exists(folder / path, error)) return folder / path;
    }
    fail(w, "cannot find " + file);
  }

  Image& named(const Where& w, const std::string& name) {
    auto it = images_.find(name);
    if (it == images_.end()) fail(w, "no earlier sheet or picture is named \"" + name + "\"");
    return *it->second;
  }

  void paintLayer(const Where& w, Image& image, bool mask) {
    const std::string type = text(w, "type");
    const double alpha = number(w, "alpha", 1.0);
    const double value = number(w, "value", 255);
    const Box area = box(w, "box", image);
    Shape shape;
    bool smooth = false;
    if (type == "fill") {
      shape = Everywhere();
    } else if (type == "box" || type == "gradient") {
      shape = RoundedBox(area, number(w, "radius", 0));
    } else if (type == "outline") {
      shape = RoundedOutline(area, number(w, "radius", 0), number(w, "width", 1));
    } else if (type == "stroke") {
      shape = Stroke(points(w), number(w, "width", 1));
    } else if (type == "glow") {
      shape = Glow(number(w, "x"), number(w, "y"), number(w, "radius"));
      smooth = true;
    } else if (type == "ring") {
      shape = Ring(number(w, "x"), number(w, "y"), number(w, "radius"), number(w, "width", 1));
      smooth = true;
    } else if (type == "shadow" && mask) {
      Image shadow;
      const Image& of = named(w, text(w, "of"));
      if (of.GetSize().cx != image.Width() || of.GetSize().cy != image.Height() || !of.IsGrey()) {
        fail(w, "a shadow is made of a mask of the same size");
      }
      ShadowOf(of, shadow, integer(w, "dx", 1), integer(w, "dy", 1), integer(w, "blur", 1),
               number(w, "strength", 1.0));
      PaintMask(
          image, [&](double x, double y) { return shadow.PixelAt(int(x), int(y))[0] / 255.0; }, 255,
          true);
      return;
    } else {
      fail(w, "unknown layer type \"" + type + "\"");
    }
    if (mask) {
      PaintMask(image, shape, value * alpha, smooth);
    } else {
      Paint(image, shape, source(w, area), alpha, smooth);
    }
  }

  void makeImage(const Where& w, bool stored, SkinContent& skin) {
    const std::string name = text(w, "name");
    const std::string format = text(w, "format", std::string("rgb"));
    if (format != "rgb" && format != "mask" && !(stored && format == "jpeg")) {
      fail(w, "format must be \"rgb\", \"mask\" or, for pictures, \"jpeg\"");
    }
    const bool mask = format == "mask";
    const int width = integer(w, "width"), height = integer(w, "height");
    if (width < 1 || height < 1 || width > 4096 || height > 4096) fail(w, "size out of range");
    auto image = std::make_unique<Image>();
    Bytes jpeg;

    if (w.table.contains("file")) {
      if (format != "jpeg") fail(w, "only JPEG pictures are read from files");
      jpeg = ReadFile(find(w, text(w, "file")).string());
      ByteStream stream;
      stream.appendBytes(std::uint32_t(jpeg.size()), jpeg.data());
      if (!DecodeJpeg(stream, *image)) fail(w, "the JPEG file does not decode");
    } else if (w.table.contains("from")) {
      const Image& from = named(w, text(w, "from"));
      const std::vector<double> crop = numbers(w, "crop", 4);
      Blank(*image, width, height, mask);
      if (from.IsGrey() != mask || crop[2] != width || crop[3] != height ||
          crop[0] + width > from.Width() || crop[1] + height > from.Height() || crop[0] < 0 ||
          crop[1] < 0) {
        fail(w, "the crop must lie in a sheet of the same format and match the size");
      }
      for (int y = 0; y < height; ++y) {
        const int bytes = mask ? 1 : 3;
        std::memcpy(image->PixelAt(0, y), from.PixelAt(int(crop[0]), int(crop[1]) + y),
                    std::size_t(width) * bytes);
      }
    } else {
      Blank(*image, width, height, mask);
      const toml::array* layers = w.table["paint"].as_array();
      if (layers == nullptr) fail(w, "needs 'file', 'from' and 'crop', or 'paint' layers");
      int i = 0;
      for (const toml::node& node : *layers) {
        const toml::table* layer = node.as_table();
        const std::string where = w.name + " (" + name + ") layer " + std::to_string(i++);
        if (layer == nullptr) throw SkinError(where + " is not a table");
        paintLayer(Where{where, *layer}, *image, mask);
      }
    }
    if (image->Width() != width || image->Height() != height) {
      fail(w, "the picture is " + std::to_string(image->Width()) + " x " +
                  std::to_string(image->Height()) + ", not the size given");
    }

    if (stored) {
      if (format == "jpeg") {
        if (jpeg.empty()) jpeg = EncodeJpeg(*image, integer(w, "quality", 90));
        skin.pictures.push_back(SkinPicture{1, jpeg});
      } else {
        skin.pictures.push_back(SkinPicture{0, PackedDib(*image)});
      }
      pictureIndex_[name] = int(skin.pictures.size()) - 1;
    }
    if (images_.count(name) != 0) fail(w, "the name \"" + name + "\" is taken");
    images_[name] = std::move(image);
  }

  int pictureAt(const Where& w, const std::string& name) {
    auto it = pictureIndex_.find(name);
    if (it == pictureIndex_.end()) fail(w, "no picture is named \"" + name + "\"");
    return it->second;
  }

  SpriteDefinition definition(const Where& w) {
    SpriteDefinition d;
    const int mode = integer(w, "mode");
    if (mode < 0 || mode > 2) fail(w, "mode must be 0, 1 or 2");
    d.mode = std::uint32_t(mode);
    d.first = pictureAt(w, text(w, "picture"));
    if (mode != 0) {
      const std::string second = text(w, "second", std::string());
      d.second = second.empty() ? -1 : pictureAt(w, second);
    }
    return d;
  }

  FontData font(const Where& w) {
    FontRequest request;
    request.file = find(w, text(w, "file")).string();
    request.height = integer(w, "height");
    request.shadowOffsetX = integer(w, "shadow-dx", 1);
    request.shadowOffsetY = integer(w, "shadow-dy", 1);
    request.margin = integer(w, "margin", 1);
    request.shadowBlur = integer(w, "shadow-blur", 1);
    request.shadowStrength = number(w, "shadow-strength", 1.0);
    return RenderFont(request);
  }

  // Captions are drawn by the program's own text code from the fonts just made,
  // so they look exactly like text the program draws itself.
  Bytes caption(const Where& w, const SkinContent& skin) {
    if (!fontsLoaded_) {
      const Bytes block = FontBlock(skin.fonts);
      ByteStream stream;
      stream.appendBytes(std::uint32_t(block.size()), block.data());
      std::uint32_t at = 4;
      for (std::size_t i = 0; i < skin.fonts.size(); ++i) {
        fonts_.push_back(std::make_unique<BitmapFont>());
        if (!fonts_.back()->Read(stream, at)) throw SkinError("a rendered font does not read back");
      }
      fontsLoaded_ = true;
    }
    const int index = integer(w, "font", 0);
    if (index < 0 || index >= int(fonts_.size())) fail(w, "no such font");
    const std::string caption = text(w, "text");
    std::unique_ptr<Sprite> sprite(fonts_[std::size_t(index)]->NewCaptionSprite(
        caption.c_str(), flag(w, "skip-leading", true), flag(w, "trim", false)));
    if (!sprite) fail(w, "the caption can't be drawn");
    return SpriteRecord(*sprite);
  }

  std::vector<fs::path> searchPaths_;
  std::map<std::string, std::unique_ptr<Image>> images_;
  std::map<std::string, int> pictureIndex_;
  std::vector<std::unique_ptr<BitmapFont>> fonts_;
  bool fontsLoaded_ = false;
};

}  // namespace

SkinContent BuildSkin(const std::string& path, const BuildOptions& options) {
  toml::table root;
  try {
    root = toml::parse_file(path);
  } catch (const toml::parse_error& e) {
    throw SkinError(path + ": " + std::string(e.description()));
  }
  Builder builder(fs::path(path), options);
  return builder.Build(root);
}

}  // namespace kskin
