#include "widgets/FileTypeGrid.h"

#include <algorithm>

#include "widgets/WidgetKind.h"

namespace {

constexpr int kPageWidth = 500;
constexpr int kFirstRowY = 130;
constexpr int kRowSpacing = 4;
constexpr int kLinksY = 276;

}  // namespace

Point FileTypeGrid::BoxPosition(int index) const {
  if (columns <= 0) return Point{left, top};
  const int column = index % columns, row = index / columns;
  return Point{left + (cell.cx + gap) * column, top + (cell.cy + rowSpacing) * row};
}

FileTypeGrid LayOutFileTypeGrid(int sidePictureWidth, Size cell, DisplayScale scale) {
  FileTypeGrid grid;
  grid.left = sidePictureWidth + scale.Px(10);
  grid.top = scale.Px(kFirstRowY);
  grid.rowSpacing = scale.Px(kRowSpacing);
  grid.cell = cell;
  const int usable = scale.Px(kPageWidth) - sidePictureWidth - scale.Px(30);
  if (cell.cx <= 0 || cell.cy <= 0 || usable <= 0) return grid;
  grid.columns = usable / cell.cx;
  if (grid.columns == 0) return grid;
  grid.gap = (usable % cell.cx) / grid.columns;
  // A row counts when its boxes end above the links, so nothing hides under them.
  const int room = scale.Px(kLinksY) - grid.top - cell.cy;
  grid.rows = room < 0 ? 0 : room / (cell.cy + grid.rowSpacing) + 1;
  return grid;
}

Size FileTypeCheckBoxCell(const BitmapFont* font, const char* const* labels, int count,
                          const ThreePieceBar* style, const Sprite* checked) {
  int widest = 0;
  for (int i = 0; font != nullptr && i < count; ++i) {
    widest = std::max(widest, int(font->Measure(labels[i], false).cx));
  }
  const int tick = checked != nullptr ? checked->width : 0;
  return Size{StyleLeftWidth(style) + tick + widest + StyleRightWidth(style), StyleHeight(style)};
}
