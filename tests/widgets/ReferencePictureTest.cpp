// Every widget kind drawn into one picture and compared with a reference made
// once by this test and checked by eye (tests/widgets/reference/widgets.bmp,
// built into the test program as RC_DATA 210). The same bytes are expected on
// both targets. After a deliberate change of the drawing, regenerate it on the
// host with
//   KESTRANE_UPDATE_REFERENCE=1 build/host/tests/kestrane_tests --gtest_filter='WidgetPictures*'
// and look at it before committing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "base/ByteStream.h"
#include "widgets/CheckBox.h"
#include "widgets/LinkButton.h"
#include "widgets/ProgressBar.h"
#include "widgets/TextView.h"
#include "widgets/WidgetFixture.h"

namespace {

constexpr int kReferenceResource = 210;
constexpr std::uint32_t kFileHeaderBytes = 14;

void drawWidgets(Image& surface) {
  widgettest::TestSkin skin;
  ItemList items;
  std::unique_ptr<ProgressBar> bar(ProgressBar::New());
  bar->Setup(&skin.font, 8, 8, items, &skin.style, 200);
  bar->SetFraction(0.37);
  std::unique_ptr<LinkButton> link(LinkButton::New()), focusedLink(LinkButton::New());
  link->Setup(&skin.font, 8, 40, "Read me", items, &skin.style);
  focusedLink->Setup(&skin.font, 120, 40, "Focused", items, &skin.style);
  focusedLink->OnFocusGained();
  std::unique_ptr<CheckBox> box(CheckBox::New()), focusedBox(CheckBox::New());
  box->Setup({&skin.font, "Ticked", &skin.style, skin.unchecked, skin.checked, true, 60}, 8, 72,
             items);
  focusedBox->Setup({&skin.font, "", &skin.style, skin.unchecked, skin.checked, false, 20}, 120, 72,
                    items);
  focusedBox->OnFocusGained();
  std::unique_ptr<TextView> view(TextView::New());
  const std::string text =
      "Licence\r\n\r\nThis text is long enough to wrap over several lines and to scroll.\r\n"
      "Another paragraph follows here.\r\n";
  view->Setup(&skin.font, 8, 104, 200, 80, text.data(), int(text.size()), 60, items);
  view->SetTopLine(1);
  view->Render();

  surface.Create(240, 192, 24);
  surface.Fill(0xE0E0E0);
  items.Draw(&surface, true, 0, 0);
}

#ifdef KESTRANE_SOURCE_DIR
std::string bmpFile(const Image& image) {
  BitmapInfoHeader header = image.Header();
  header.biClrUsed = header.biClrImportant = 0;
  const std::uint32_t size = kFileHeaderBytes + sizeof header + image.PixelBytes();
  std::string out("BM");
  for (std::uint32_t v : {size, 0u, kFileHeaderBytes + std::uint32_t(sizeof header)}) {
    for (int i = 0; i < 4; ++i) out.push_back(char(v >> (8 * i)));
  }
  out.append(reinterpret_cast<const char*>(&header), sizeof header);
  // Rows are compared without their padding, but the file keeps it zeroed.
  std::string rows(reinterpret_cast<const char*>(image.Bits()), image.PixelBytes());
  const int used = 3 * image.Width();
  for (int y = 0; y < image.Height(); ++y) {
    std::memset(&rows[std::size_t(y * image.Stride() + used)], 0,
                std::size_t(image.Stride() - used));
  }
  return out + rows;
}
#endif

TEST(WidgetPictures, MatchTheReference) {
  Image drawn;
  drawWidgets(drawn);
  ASSERT_TRUE(drawn.HasPixels());
#ifdef KESTRANE_SOURCE_DIR
  if (std::getenv("KESTRANE_UPDATE_REFERENCE") != nullptr) {
    const std::string path = KESTRANE_SOURCE_DIR "/tests/widgets/reference/widgets.bmp";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    const std::string bytes = bmpFile(drawn);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    GTEST_SKIP() << "reference written to " << path;
  }
#endif
  ByteStream file;
  ASSERT_EQ(file.loadResourceData(kReferenceResource, nullptr), S_OK);
  ASSERT_GT(file.size(), kFileHeaderBytes);
  Image reference;
  ASSERT_TRUE(
      reference.LoadPackedDib(file.bytes() + kFileHeaderBytes, file.size() - kFileHeaderBytes));
  ASSERT_EQ(reference.Width(), drawn.Width());
  ASSERT_EQ(reference.Height(), drawn.Height());
  ASSERT_EQ(reference.BitsPerPixel(), 24);
  int differentRows = 0;
  for (int y = 0; y < drawn.Height(); ++y) {
    differentRows += std::memcmp(reference.PixelAt(0, y), drawn.PixelAt(0, y),
                                 std::size_t(3 * drawn.Width())) != 0;
  }
  EXPECT_EQ(differentRows, 0);
}

}  // namespace
