// The wizard's pages in the order the user meets them.
#pragma once

#include "base/PtrArray.h"

class Page;
using PageList = OwningList<Page>;

// Appends the six standard pages to `pages`; false when memory is short (what
// was added stays, owned by the list).
bool AddStandardPages(PageList& pages);
