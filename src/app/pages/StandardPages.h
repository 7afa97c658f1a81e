// The wizard's pages in the order the user meets them.
#pragma once

#include "base/PtrArray.h"

class Page;
using PageList = OwningList<Page>;

// Appends the six standard pages to `pages`, in the order the user meets them;
// false when memory is short (what was added stays, owned by the list). This
// list is the only place that knows which pages there are and their order.
bool AddStandardPages(PageList& pages);

// What fills a wizard's empty page list: AddStandardPages, or, for a tool or a
// test that shows other pages, a function of its own.
using PageListMaker = bool (*)(PageList& pages);
