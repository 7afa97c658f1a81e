// <windows.h> must come first: the shell headers build on it.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "platform/ShellLink.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

using win32::Wide;

IShellLinkW* link(void* object) {
  return static_cast<IShellLinkW*>(object);
}

}  // namespace

ShellLink::~ShellLink() {
  if (object_ != nullptr) link(object_)->Release();
}

bool ShellLink::create() {
  if (object_ != nullptr) return true;
  void* object = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              &object))) {
    return false;
  }
  object_ = object;
  return true;
}

bool ShellLink::setPath(const char* target) {
  return object_ != nullptr && SUCCEEDED(link(object_)->SetPath(Wide(target).get()));
}

bool ShellLink::setArguments(const char* arguments) {
  return object_ != nullptr && SUCCEEDED(link(object_)->SetArguments(Wide(arguments).get()));
}

bool ShellLink::setWorkingDirectory(const char* folder) {
  return object_ != nullptr && SUCCEEDED(link(object_)->SetWorkingDirectory(Wide(folder).get()));
}

bool ShellLink::setDescription(const char* description) {
  return object_ != nullptr && SUCCEEDED(link(object_)->SetDescription(Wide(description).get()));
}

bool ShellLink::setIconLocation(const char* path, int index) {
  return object_ != nullptr && SUCCEEDED(link(object_)->SetIconLocation(Wide(path).get(), index));
}

bool ShellLink::save(const char16_t* path, bool remember) {
  if (object_ == nullptr) return false;
  IPersistFile* file = nullptr;
  if (FAILED(link(object_)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    return false;
  }
  const HRESULT saved = file->Save(reinterpret_cast<LPCOLESTR>(path), remember ? TRUE : FALSE);
  file->Release();
  return SUCCEEDED(saved);
}

}  // namespace platform
