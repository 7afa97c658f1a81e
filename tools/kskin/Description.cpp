#include "kskin/Description.h"

#include <toml++/toml.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "base/ByteStream.h"
#include "common/PictureKind.h"
#include "kskin/Art.h"
#include "kskin/DescriptionFields.h"
#include "kskin/DescriptionKeys.h"
#include "kskin/FontRender.h"
#include "kskin/ImageFiles.h"
#include "kskin/Scale.h"
#include "render/BitmapFont.h"
#include "render/Image.h"
#include "render/Jpeg.h"

namespace kskin {

namespace {

namespace fs = std::filesystem;

class Builder {
 public:
  Builder(const fs::path& description, const BuildOptions& options) : scale_(options.scale) {
    searchPaths_.push_back(description.parent_path());
    for (const std::string& p : options.searchPaths) searchPaths_.emplace_back(p);
  }

  SkinContent Build(const toml::table& root) {
    SkinContent skin;
    CheckKeys(Where{"skin", root}, "");
    ForEachTable(root, "sheet", [&](const Where& w) { makeImage(w, false, skin); });
    ForEachTable(root, "picture", [&](const Where& w) { makeImage(w, true, skin); });
    ForEachTable(root, "sprite", [&](const Where& w) { skin.sprites.push_back(definition(w)); });
    ForEachTable(root, "font", [&](const Where& w) { skin.fonts.push_back(font(w)); });
    ForEachTable(root, "caption",
                 [&](const Where& w) { skin.standalone.push_back(caption(w, skin)); });
    return skin;
  }

 private:
  fs::path find(const Where& w, const std::string& file) const {
    const fs::path path(file);
    if (path.is_absolute()) return path;
    std::string looked;
    for (const fs::path& folder : searchPaths_) {
      std::error_code error;
      if (fs::exists(folder / path, error)) return folder / path;
      const std::string shown = folder.empty() ? "." : folder.string();
      looked += (looked.empty() ? "" : ", ") + shown;
    }
    Fail(w, "cannot find " + file + " (looked in " + looked +
                "; a file is looked for beside the description, then in each --font-dir)");
  }

  Image& named(const Where& w, const std::string& name) {
    auto it = images_.find(name);
    if (it == images_.end()) Fail(w, "no earlier sheet or picture is named \"" + name + "\"");
    return *it->second;
  }

  void paintLayer(const Where& w, Image& image, bool mask, double scale) {
    Layer layer;
    if (ReadShapeLayer(w, image.Width(), image.Height(), mask, layer, scale)) {
      if (mask) {
        PaintMask(image, layer.shape, layer.value * layer.alpha, layer.smooth);
      } else {
        Paint(image, layer.shape, layer.source, layer.alpha, layer.smooth);
      }
      return;
    }
    const std::string type = LayerType(w);
    if (type != "shadow" || !mask) Fail(w, "unknown layer type \"" + type + "\"");
    Image shadow;
    const Image& of = named(w, Text(w, "of"));
    if (of.GetSize().cx != image.Width() || of.GetSize().cy != image.Height() || !of.IsGrey()) {
      Fail(w, "a shadow is made of a mask of the same size");
    }
    ShadowOf(of, shadow, ScaledPixels(Integer(w, "dx", 1), scale),
             ScaledPixels(Integer(w, "dy", 1), scale), ScaledPixels(Integer(w, "blur", 1), scale),
             Number(w, "strength", 1.0));
    PaintMask(
        image, [&](double x, double y) { return shadow.PixelAt(int(x), int(y))[0] / 255.0; }, 255,
        true);
  }

  void makeImage(const Where& w, bool stored, SkinContent& skin) {
    const std::string name = Text(w, "name");
    const std::string format = Text(w, "format", std::string("rgb"));
    if (format != "rgb" && format != "mask" && !(stored && format == "jpeg")) {
      Fail(w, "format must be \"rgb\", \"mask\" or, for pictures, \"jpeg\"");
    }
    const bool mask = format == "mask";
    const int givenWidth = Integer(w, "width"), givenHeight = Integer(w, "height");
    if (givenWidth < 1 || givenHeight < 1 || givenWidth > 4096 || givenHeight > 4096) {
      Fail(w, "size out of range");
    }
    // A JPEG picture (the background) is resampled to its place whatever its
    // size: it is kept as it is at every scale.
    const double scale = format == "jpeg" ? 1 : scale_;
    int width = ScaledPixels(givenWidth, scale), height = ScaledPixels(givenHeight, scale);
    auto image = std::make_unique<Image>();
    Bytes jpeg;

    if (w.table.contains("file")) {
      if (format != "jpeg") Fail(w, "only JPEG pictures are read from files");
      const std::string file = find(w, Text(w, "file")).string();
      jpeg = ReadFile(file);
      ByteStream stream;
      if (jpeg.size() > 0xFFFFFFF0u ||
          stream.appendBytes(std::uint32_t(jpeg.size()), jpeg.data()) != S_OK ||
          !DecodeJpeg(stream, *image)) {
        Fail(w, tools::notJpegReason(file, jpeg));
      }
    } else if (w.table.contains("from")) {
      const Image& from = named(w, Text(w, "from"));
      const std::vector<double> crop = Numbers(w, "crop", 4);
      // Scaled by its edges, as the sheet's boxes are: the pieces cut side by
      // side from one sheet still meet.
      const double left = ScaledCoordinate(crop[0], scale), top = ScaledCoordinate(crop[1], scale);
      const double right = ScaledCoordinate(crop[0] + givenWidth, scale);
      const double bottom = ScaledCoordinate(crop[1] + givenHeight, scale);
      if (from.IsGrey() != mask || crop[2] != givenWidth || crop[3] != givenHeight ||
          right > from.Width() || bottom > from.Height() || crop[0] < 0 || crop[1] < 0) {
        Fail(w, "the crop must lie in a sheet of the same format and match the size");
      }
      width = int(right) - int(left);
      height = int(bottom) - int(top);
      Blank(*image, width, height, mask);
      for (int y = 0; y < height; ++y) {
        const int bytes = mask ? 1 : 3;
        std::memcpy(image->PixelAt(0, y), from.PixelAt(int(left), int(top) + y),
                    std::size_t(width) * bytes);
      }
    } else {
      Blank(*image, width, height, mask);
      const toml::array* layers = w.table["paint"].as_array();
      if (layers == nullptr) Fail(w, "needs 'file', 'from' and 'crop', or 'paint' layers");
      int i = 0;
      for (const toml::node& node : *layers) {
        const toml::table* layer = node.as_table();
        const std::string where = w.name + " (" + name + ") layer " + std::to_string(i++);
        if (layer == nullptr) FailAt(node, where, "is not a table");
        paintLayer(Where{where, *layer}, *image, mask, scale);
      }
    }
    if (image->Width() != width || image->Height() != height) {
      Fail(w, "the picture is " + std::to_string(image->Width()) + " x " +
                  std::to_string(image->Height()) + ", not the size given");
    }

    if (stored) {
      if (format == "jpeg") {
        if (jpeg.empty()) jpeg = EncodeJpeg(*image, Integer(w, "quality", 90));
        skin.pictures.push_back(SkinPicture{1, jpeg});
      } else {
        skin.pictures.push_back(SkinPicture{0, PackedDib(*image)});
      }
      pictureIndex_[name] = int(skin.pictures.size()) - 1;
    }
    if (images_.count(name) != 0) Fail(w, "the name \"" + name + "\" is taken");
    images_[name] = std::move(image);
  }

  int pictureAt(const Where& w, const std::string& name) {
    auto it = pictureIndex_.find(name);
    if (it == pictureIndex_.end()) Fail(w, "no picture is named \"" + name + "\"");
    return it->second;
  }

  SpriteDefinition definition(const Where& w) {
    SpriteDefinition d;
    const int mode = Integer(w, "mode");
    if (mode < 0 || mode > 2) Fail(w, "mode must be 0, 1 or 2");
    d.mode = std::uint32_t(mode);
    d.first = pictureAt(w, Text(w, "picture"));
    if (mode != 0) {
      const std::string second = Text(w, "second", std::string());
      d.second = second.empty() ? -1 : pictureAt(w, second);
    }
    return d;
  }

  FontData font(const Where& w) {
    FontRequest request;
    request.file = find(w, Text(w, "file")).string();
    if (const std::string fallback = Text(w, "fallback", ""); !fallback.empty()) {
      request.fallback = find(w, fallback).string();
    }
    // Drawn anew from the outlines at the scaled size, never enlarged.
    request.height = ScaledPixels(Integer(w, "height"), scale_);
    request.shadowOffsetX = ScaledPixels(Integer(w, "shadow-dx", 1), scale_);
    request.shadowOffsetY = ScaledPixels(Integer(w, "shadow-dy", 1), scale_);
    request.margin = ScaledPixels(Integer(w, "margin", 1), scale_);
    request.shadowBlur = ScaledPixels(Integer(w, "shadow-blur", 1), scale_);
    request.shadowStrength = Number(w, "shadow-strength", 1.0);
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
    const int index = Integer(w, "font", 0);
    if (index < 0 || index >= int(fonts_.size())) Fail(w, "no such font");
    const std::string caption = Text(w, "text");
    std::unique_ptr<Sprite> sprite(fonts_[std::size_t(index)]->NewCaptionSprite(
        caption.c_str(), Flag(w, "skip-leading", true), Flag(w, "trim", false)));
    if (!sprite) Fail(w, "the caption can't be drawn");
    return SpriteRecord(*sprite);
  }

  double scale_ = 1;
  std::vector<fs::path> searchPaths_;
  std::map<std::string, std::unique_ptr<Image>> images_;
  std::map<std::string, int> pictureIndex_;
  std::vector<std::unique_ptr<BitmapFont>> fonts_;
  bool fontsLoaded_ = false;
};

}  // namespace

namespace {

toml::table parse(const std::string& path) {
  try {
    return toml::parse_file(path);
  } catch (const toml::parse_error& e) {
    throw SkinError(path + ":" + std::to_string(e.source().begin.line) + ": " +
                    std::string(e.description()));
  }
}

}  // namespace

SkinContent BuildSkin(const std::string& path, const BuildOptions& options) {
  const toml::table root = parse(path);
  Builder builder(fs::path(path), options);
  return builder.Build(root);
}

std::vector<std::string> FontPlaces(const std::string& path) {
  const toml::table root = parse(path);
  std::vector<std::string> places;
  ForEachTable(root, "font", [&](const Where& w) {
    const std::string place = Place(w.table);
    places.push_back(place.empty() ? path : place);
  });
  return places;
}

}  // namespace kskin
