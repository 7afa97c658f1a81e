#include "kskin/SampleProduct.h"

#include <cmath>
#include <memory>

#include "kskin/Art.h"
#include "kskin/SkinWriter.h"

namespace kskin {

namespace {

const char kLicence[] =
    "SAMPLE PRODUCT - EDITION 1\r\nEND-USER LICENCE AGREEMENT\r\n\r\n"
    "This agreement is between you and the maker of Sample Product. By installing, copying or "
    "otherwise using the software you agree to be bound by its terms. If you do not agree, do "
    "not install the software.\r\n\r\n"
    "1. Grant. You may install and use one copy of the software on each computer you own, for "
    "your own purposes, and make one copy for backup.\r\n\r\n"
    "2. Restrictions. You may not rent, lease or lend the software, nor take it apart except as "
    "the law of your country expressly allows.\r\n\r\n"
    "3. No warranty. The software is provided as it is, without warranty of any kind. The maker "
    "is not liable for any damage that comes of its use.\r\n";

const char* const kExtensions[] = {"smp", "smpx", "smpt", "smpb", "smpz"};

Image& picture(Image& image, int width, int height) {
  if (!image.Create(width, height, 24)) throw SkinError("no memory for the sample product");
  return image;
}

// The tall picture beside the pages: a dusk sky over a hill, with a sun.
void drawSidePicture(Image& side) {
  const Box all{0, 0, double(side.Width()), double(side.Height())};
  Paint(side, Everywhere(),
        Gradient(all, 90,
                 {{0, ParseColour("#1a296b")},
                  {0.55, ParseColour("#8c73b3")},
                  {1, ParseColour("#fab873")}}),
        1);
  Paint(side, Glow(110, 150, 60), Solid(ParseColour("#ffebb3")), 0.9, true);
  const double w = all.width, h = all.height;
  Paint(
      side,
      [w, h](double x, double y) { return y > h * 0.72 + 18 * std::sin(x / w * 3.2) ? 1.0 : 0.0; },
      Gradient(Box{0, h * 0.65, w, h * 0.35}, 90,
               {{0, ParseColour("#2e4d38")}, {1, ParseColour("#0d1a14")}}),
      1);
}

// The logo in the page's corner: a round badge with a ring.
void drawLogo(Image& logo) {
  const Box all{0, 0, double(logo.Width()), double(logo.Height())};
  Paint(logo, Everywhere(), Solid(ParseColour("#ffffff")), 1);
  Paint(logo, RoundedBox(Box{3, 3, all.width - 6, all.height - 6}, 12),
        Gradient(all, 45, {{0, ParseColour("#f28c26")}, {1, ParseColour("#991a4d")}}), 1);
  Paint(logo, Ring(all.width / 2, all.height / 2, 12, 2.5), Solid(ParseColour("#ffffff")), 0.9,
        true);
}

InstallItem* newItem(InstallModel& model, const char* fileName, std::uint32_t size,
                     std::uint32_t flags) {
  auto item = std::make_unique<InstallItem>();
  item->fileName = fileName;
  item->unpackedSize = size;
  item->flags = flags;
  if (model.items.add(item.get()) < 0) throw SkinError("no memory for the sample product");
  return item.release();
}

}  // namespace

void MakeSampleProduct(InstallModel& model) {
  model.displayName = "Sample Product - Edition 1";
  model.companyName = "Sample Maker";
  model.installFolderName = "Sample Product";
  // The licence is kept with its terminating zero, as the package carries it.
  if (model.licenceText.appendBytes(sizeof kLicence, kLicence) != S_OK) {
    throw SkinError("no memory for the sample product");
  }
  drawSidePicture(picture(model.sidePicture, 164, 314));
  drawLogo(picture(model.logoPicture, 49, 49));

  InstallItem* app =
      newItem(model, "SampleProduct.exe", 7340032,
              kItemApplication | kItemMenuShortcut | kItemDesktopShortcut | kItemRunAfterSetup);
  app->applicationTitle = "Sample Product";
  auto type = std::make_unique<FileTypeEntry>();
  type->progId = "SampleProduct.Document";
  type->typeDescription = "Sample Product Document";
  for (const char* extension : kExtensions) {
    if (!type->optionalExtensions.addExtension(extension)) {
      throw SkinError("no memory for the sample product");
    }
  }
  if (!app->addFileType(type.get())) throw SkinError("no memory for the sample product");
  type.release();
  newItem(model, "Readme.txt", 12288, 0);
  newItem(model, "Uninstall.exe", 98304, kItemUninstaller);
  model.selectableItem = 0;
  model.selectableType = 0;
}

}  // namespace kskin
