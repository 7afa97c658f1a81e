#include "widgets/Widget.h"

#include "widgets/ContentItem.h"

Widget::~Widget() = default;

void Widget::Bind(ContentItem* newItem) {
  item = newItem;
}

void Widget::OnFocusGained() {}

void Widget::OnFocusLost() {}

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
