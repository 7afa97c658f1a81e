// Starting a program as the user who runs the desktop, from an elevated setup.
// A program started with the setup's own token would run elevated too: the files
// it makes would belong to the administrators, and the desktop could not drop
// files on it. The desktop shell runs with the user's token; its window objects
// let another process ask it to open something, which it then starts itself.
#include <windows.h>

#include <exdisp.h>
#include <ole2.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include <string>

#include "platform/Shell.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

// SID_STopLevelBrowser: the service of a shell window that gives its browser.
const GUID kTopLevelBrowser = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// Releases a COM pointer when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_ != nullptr) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* operator->() const { return p_; }
  T** out() { return &p_; }
  void** outVoid() { return reinterpret_cast<void**>(&p_); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// A BSTR of ANSI text, freed when it goes.
class Bstr {
 public:
  explicit Bstr(const char* text)
      : value_(SysAllocString(win32::Wide(text != nullptr ? text : "").get())) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

// A VARIANT holding a string; the string stays owned by its Bstr.
VARIANT textVariant(const Bstr& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = text.get();
  return v;
}

// The desktop's folder view, asked for its shell dispatch object.
bool desktopShellDispatch(ComPtr<IShellDispatch2>& shell) {
  ComPtr<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                              windows.outVoid()))) {
    return false;
  }
  VARIANT location, root;
  VariantInit(&location);
  VariantInit(&root);
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  long desktopWindow = 0;
  ComPtr<IDispatch> desktop;
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                            desktop.out()) != S_OK ||
      !desktop) {
    return false;
  }
  ComPtr<IServiceProvider> services;
  ComPtr<IShellBrowser> browser;
  ComPtr<IShellView> view;
  ComPtr<IDispatch> background;
  ComPtr<IShellFolderViewDual> folderView;
  ComPtr<IDispatch> application;
  return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.outVoid())) &&
         SUCCEEDED(
             services->QueryService(kTopLevelBrowser, IID_IShellBrowser, browser.outVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.out())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.outVoid())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.outVoid())) &&
         SUCCEEDED(folderView->get_Application(application.out())) && application &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.outVoid()));
}

}  // namespace

bool isElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  const bool known =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
  CloseHandle(token);
  return known && elevation.TokenIsElevated != 0;
}

bool shellExecuteFromDesktop(const char* file, const char* parameters, const char* folder,
                             int show) {
  if (file == nullptr) return false;
  ComPtr<IShellDispatch2> shell;
  if (!desktopShellDispatch(shell)) return false;
  const Bstr fileText(file), parametersText(parameters), folderText(folder), verb("open");
  VARIANT args = textVariant(parametersText), dir = textVariant(folderText),
          operation = textVariant(verb), showCommand;
  VariantInit(&showCommand);
  showCommand.vt = VT_I4;
  showCommand.lVal = show;
  return fileText.get() != nullptr &&
         SUCCEEDED(shell->ShellExecute(fileText.get(), args, dir, operation, showCommand));
}

}  // namespace platform
