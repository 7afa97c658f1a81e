#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include "platform/PrivateFolder.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// Protected (P): nothing inherited from the parent. Full access (FA) for SYSTEM
// (SY) and the Administrators group (BA), inherited by what is put inside.
constexpr char kPrivateAccess[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

}  // namespace

bool createPrivateFolder(const char* path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kPrivateAccess, SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
  const bool made = CreateDirectoryW(win32::Wide(path).get(), &security) != FALSE;
  LocalFree(descriptor);
  return made;
}

std::string folderAccessList(const char* path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const win32::Wide name(path);
  if (GetNamedSecurityInfoW(name.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return std::string();
  }
  char* text = nullptr;
  std::string list;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorA(
          descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
    list = text;
    LocalFree(text);
  }
  LocalFree(descriptor);
  return list;
}

}  // namespace platform
