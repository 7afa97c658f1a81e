#include "app/pages/StandardPages.h"

#include <new>

#include "app/pages/FileTypesPage.h"
#include "app/pages/FinishedPage.h"
#include "app/pages/InstallFolderPage.h"
#include "app/pages/InstallingPage.h"
#include "app/pages/LicensePage.h"
#include "app/pages/WelcomePage.h"

namespace {

template <typename P>
bool Append(PageList& pages) {
  P* page = new (std::nothrow) P;
  if (page == nullptr || pages.add(page) < 0) {
    delete page;
    return false;
  }
  return true;
}

}  // namespace

bool AddStandardPages(PageList& pages) {
  return Append<WelcomePage>(pages) && Append<LicensePage>(pages) &&
         Append<InstallFolderPage>(pages) && Append<FileTypesPage>(pages) &&
         Append<InstallingPage>(pages) && Append<FinishedPage>(pages);
}
