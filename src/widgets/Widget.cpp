#include "widgets/Widget.h"

#include "widgets/ContentItem.h"

Widget::~Widget() = default;

void Widget::Bind(ContentItem* newItem) {
  item = newItem;
}

// The focus list tells every widget of each change, most of them that they
// still lack the focus: only a change is drawn.
void Widget::OnFocusGained() {
  if (focused) return;
  focused = true;
  Redraw();
}

void Widget::OnFocusLost() {
  if (!focused) return;
  focused = false;
  Redraw();
}

void Widget::Redraw() {}

int Widget::HandleMessage(int, int, platform::WindowHandle, unsigned, std::uintptr_t, std::intptr_t,
                          int* result) {
  if (result != nullptr) *result = 0;
  return 0;
}

void Widget::Draw(Image*, bool, COLORREF, COLORREF, int, int) {}

int Widget::HitTest(int, int) {
  return 0;
}

int Widget::CanFocus() {
  return item != nullptr && (item->flags & kItemVisible) != 0 && focusable != 0;
}
