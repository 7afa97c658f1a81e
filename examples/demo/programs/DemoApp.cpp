// The demo product's viewer: one window showing the document named on the
// command line. Text shows as text; anything else as its size and a hex dump of
// its first bytes, so a picture or a binary file never fills the window with
// noise.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char kClassName[] = "KestraneDemoViewer";
const char kTitle[] = "Demo Product";
// Enough to show what a file is without reading a large one whole.
const DWORD kMostBytes = 64 * 1024;
const DWORD kHexBytes = 512;
const int kEditId = 100;

struct Document {
  std::string name;
  std::string bytes;  // the first kMostBytes of it
  unsigned long long size = 0;
  bool opened = false;
};

// The first command-line argument, its quotes removed: the shell passes "%1".
std::string firstArgument() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  std::string argument;
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) argument += *p;
  } else {
    argument = p;
    while (!argument.empty() && (argument.back() == ' ' || argument.back() == '\t')) {
      argument.pop_back();
    }
  }
  return argument;
}

Document readDocument(const std::string& name) {
  Document doc;
  doc.name = name;
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return doc;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size)) {
    doc.size = static_cast<unsigned long long>(size.QuadPart);
    doc.bytes.resize(doc.size < kMostBytes ? static_cast<std::size_t>(doc.size) : kMostBytes);
    DWORD read = 0;
    if (!doc.bytes.empty() &&
        ReadFile(file, &doc.bytes[0], DWORD(doc.bytes.size()), &read, nullptr)) {
      doc.bytes.resize(read);
      doc.opened = true;
    } else {
      doc.opened = doc.bytes.empty();
    }
  }
  CloseHandle(file);
  return doc;
}

// Text is what has no NUL and no control characters other than line ends and
// tabs; bytes above 127 are taken as the system's code page.
bool looksLikeText(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c < 32 && c != '\r' && c != '\n' && c != '\t') return false;
  }
  return true;
}

// The edit control wants CR LF; files may bring bare LF.
std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::string hexView(const Document& doc) {
  std::string out = std::to_string(doc.size) + " bytes, not text. The first bytes:\r\n\r\n";
  char line[128];
  const std::size_t shown = doc.bytes.size() < kHexBytes ? doc.bytes.size() : kHexBytes;
  for (std::size_t row = 0; row < shown; row += 16) {
    int used = std::snprintf(line, sizeof line, "%08lx  ", static_cast<unsigned long>(row));
    std::string ascii;
    for (std::size_t i = row; i < row + 16; ++i) {
      if (i < shown) {
        const unsigned char c = static_cast<unsigned char>(doc.bytes[i]);
        used += std::snprintf(line + used, sizeof line - used, "%02x ", c);
        ascii += (c >= 32 && c < 127) ? char(c) : '.';
      } else {
        used += std::snprintf(line + used, sizeof line - used, "   ");
      }
    }
    out += line;
    out += ' ';
    out += ascii;
    out += "\r\n";
  }
  if (doc.size > shown) out += "...\r\n";
  return out;
}

std::string viewText(const Document& doc) {
  if (doc.name.empty()) {
    return "Demo Product shows one document.\r\n\r\nOpen a .demo, .dnote or .dpic file, "
           "or drop a file on the Demo Product icon.";
  }
  if (!doc.opened) return "Cannot open " + doc.name + ".";
  if (doc.bytes.empty()) return "The document is empty.";
  if (looksLikeText(doc.bytes)) {
    std::string text = withCrLf(doc.bytes);
    if (doc.size > doc.bytes.size()) text += "\r\n...";
    return text;
  }
  return hexView(doc);
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      const auto* doc = static_cast<const Document*>(create->lpCreateParams);
      HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                      ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                  0, 0, 0, 0, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                                  create->hInstance, nullptr);
      if (!edit) return -1;
      // A fixed-pitch face keeps the hex view's columns straight.
      SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)),
                   FALSE);
      SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
      SetWindowTextA(edit, viewText(*doc).c_str());
      return 0;
    }
    case WM_SIZE:
      MoveWindow(GetDlgItem(window, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(GetDlgItem(window, kEditId));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const Document doc = readDocument(firstArgument());

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExA(&wc)) return 1;

  const std::string title =
      doc.name.empty() ? std::string(kTitle) : baseName(doc.name) + " - " + kTitle;
  HWND window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 640, 440, nullptr, nullptr, instance,
                                const_cast<Document*>(&doc));
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
