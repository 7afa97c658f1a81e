#include "app/SetupApp.h"

#include <new>

#include "app/AppMessages.h"
#include "app/CommandLine.h"
#include "app/QuietRun.h"
#include "app/SkinAtScale.h"
#include "base/ByteView.h"
#include "base/Paths.h"
#include "base/SetupString.h"
#include "install/InstallPass.h"
#include "package/LargePictures.h"
#include "package/ProductExtension.h"
#include "platform/Display.h"
#include "platform/MessageBox.h"
#include "platform/Messages.h"
#include "platform/Paint.h"
#include "platform/Process.h"
#include "platform/Resources.h"
#include "platform/WinDefs.h"
#include "system/InstallTarget.h"
#include "system/ShellActions.h"
#include "texts/TextLoading.h"

namespace {

// The mouse is polled at most once in this long, and the idle loop sleeps this
// long unless input comes: short enough that the hover look follows the mouse
// out of the window, long enough that an idle wizard costs nothing. Polling on
// every message instead would turn the thousands of progress messages of an
// install into as many cursor queries, each a trip to the window system.
constexpr unsigned kIdleWaitMs = 30;

}  // namespace

SetupApp::~SetupApp() {
  Shutdown();
}

void SetupApp::Shutdown() {
  StopWorker();
  window_.Release();
  platform::closeDrawDib(drawDib_);
  drawDib_ = nullptr;
  platform::releaseInstance(instance_);
  instance_ = nullptr;
}

void SetupApp::ShowFatalError() const {
  platform::messageBox(nullptr, texts_.text(texts::FatalText), texts_.text(texts::FatalCaption),
                       MB_OK);
}

bool SetupApp::Load(platform::ModuleHandle module, const ResourceIds& ids) {
  if (module == nullptr) return false;
  module_ = module;
  ids_ = ids;
  // The texts come first, so that even the fatal box speaks the user's language;
  // a table that cannot be read leaves ours, and the fatal box says it in English.
  if (!LoadSetupTexts(module, texts::chooseTextLanguage(module), texts_)) return false;

  options_.module = module;
  options_.model = &model_;
  worker_.setOptions(&options_, &target_);
  worker_.setNotifyTarget(&notify_);

  // The package is read where the system keeps the resource, which stays mapped
  // as long as the process runs: a package of hundreds of megabytes is not held
  // twice in a 32-bit address space.
  ByteView package;
  std::uint32_t position = 0;
  const bool read =
      package.mapResourceData(ids.package, module) == S_OK && model_.readPackage(package, position);
  makeInstallTarget(model_, InstallScope::AllUsers, RegistryView::Bits32, target_);
  options_.ParentFolder = target_.programFiles;
  if (!read) return false;
  // Larger pictures are optional: without them, or with ones that cannot be
  // used, the package's own are resampled.
  ByteStream large;
  if (large.loadResourceData(kLargePicturesResourceId, module) == S_OK) {
    ReadLargePictures(large, model_);
  }
  // So is the extension: one that is damaged, or made for another package,
  // counts as none.
  ByteView extension;
  if (extension.mapResourceData(kExtensionResourceId, module) == S_OK) {
    model_.extension.read(extension, package);
  }
  return ClaimProduct();
}

bool SetupApp::OpenWizard() {
  drawDib_ = platform::openDrawDib();
  // A setup that carries skins drawn for finer displays tells the system it draws
  // at the display's scale itself, before its window exists; one without them is
  // enlarged by the system as a picture.
  for (int i = 0; i < kScaledSkinCount; ++i) {
    if (CarriesScaledSkin(module_, i)) carriedSkins_ |= 1u << i;
  }
  scaleAware_ = carriedSkins_ != 0 && platform::declareScaleAware();
  const int dpi = LoadSkinFor(platform::displayDpi(nullptr), *skin_);
  if (dpi == 0) return false;

  // The class name is in the English table alone: it is never shown.
  char className[256];
  if (platform::loadString(module_, ids_.className, platform::kEnglishLanguage, className,
                           sizeof className) == 0) {
    return false;
  }
  wizard_->SetTexts(texts_);
  wizard_->SetScale(DisplayScale(dpi));
  if (!wizard_->Build(*skin_, model_, options_)) return false;
  window_.SetCallbacks(&wizard_->scene, this, &wizard_->widgets);
  MainWindow::Setup setup;
  setup.className = className;
  setup.title = texts_.text(texts::WindowName);
  setup.module = module_;
  setup.drawDib = drawDib_;
  setup.iconId = ids_.icon;
  setup.width = wizard_->WindowWidth();
  setup.height = wizard_->WindowHeight();
  if (!window_.Create(setup)) return false;
  // The window may have opened on another monitor than the primary one.
  const int windowDpi = platform::displayDpi(window_.Handle());
  if (scaleAware_ && windowDpi != dpi) RebuildAtScale(windowDpi, nullptr);
  platform::markInstanceWindow(instance_, model_.installFolderName.text(), window_.Handle());
  if (passiveLog_ == nullptr) {
    ShowPage(wizard_->FirstPage());
    return true;
  }
  // Straight to the page that installs, with the choices already made.
  for (int i = 0; i < wizard_->PageCount(); ++i) {
    if (wizard_->PageAt(i)->RunsInstallation()) {
      ShowPage(wizard_->PageAt(i)->Id());
      return true;
    }
  }
  return false;
}

int SetupApp::LoadSkinFor(int dpi, SkinLists& skin) {
  SkinChoice choice{ids_.skin, ids_.highGlyphs, DisplayScale::kBaseDpi};
  if (scaleAware_) {
    choice = ChooseSkin(dpi, carriedSkins_);
    // The skin of 100 % is the caller's, which need not be 116.
    if (choice.dpi == DisplayScale::kBaseDpi) choice = {ids_.skin, ids_.highGlyphs, choice.dpi};
  }
  const auto load = [&] {
    return skin.pictures.LoadSkin(module_, choice.skinId, skin.sprites, skin.fonts,
                                  skin.standalone) &&
           LoadHighGlyphs(module_, choice.highGlyphsId, skin.fonts);
  };
  if (!load()) return 0;
  // A scale the setup carries no skin for is drawn from the nearest larger one
  // resampled; should that fail, the window is drawn at the skin's own scale.
  const int wanted = DisplayScale(dpi).Dpi();
  if (!scaleAware_ || wanted == choice.dpi) return choice.dpi;
  if (RescaleSkin(skin, choice.dpi, wanted)) return wanted;
  skin.standalone.deleteAll();
  skin.fonts.deleteAll();
  skin.sprites.deleteAll();
  skin.pictures.deleteAll();
  return load() ? choice.dpi : 0;
}

bool SetupApp::RebuildAtScale(int dpi, const platform::Rect* suggested) {
  std::unique_ptr<SkinLists> skin(new (std::nothrow) SkinLists);
  std::unique_ptr<Wizard> wizard(new (std::nothrow) Wizard);
  if (skin == nullptr || wizard == nullptr) return false;
  const int drawn = LoadSkinFor(dpi, *skin);
  if (drawn == 0) return false;
  if (drawn != wizard_->Scale().Dpi()) {
    wizard->SetTexts(texts_);
    wizard->SetScale(DisplayScale(drawn));
    if (!wizard->Build(*skin, model_, options_)) return false;
    wizard->TakeStateOf(*wizard_);
    window_.SetCallbacks(&wizard->scene, this, &wizard->widgets);
    // The old wizard, now in `wizard`, goes before the old skin it shows.
    wizard_.swap(wizard);
    skin_.swap(skin);
  }
  platform::Rect now{};
  if (suggested != nullptr) {
    now = *suggested;
  } else if (!platform::getWindowRect(window_.Handle(), now)) {
    return true;
  }
  platform::setWindowPos(window_.Handle(), now.left, now.top, wizard_->WindowWidth(),
                         wizard_->WindowHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  window_.Repaint();
  return true;
}

bool SetupApp::ClaimProduct() {
  // The product is named by its install folder: that is what two passes would
  // empty and fill at the same time.
  bool taken = false;
  instance_ = platform::claimInstance(model_.installFolderName.text(), taken);
  otherCopyRuns_ = taken;
  // Claimed, or the system keeps no claims: go on.
  return !taken;
}

void SetupApp::HandOver() const {
  platform::activateInstance(model_.installFolderName.text());
}

int SetupApp::Run() {
  std::uint32_t lastPoll = platform::tickCount() - kIdleWaitMs;
  for (;;) {
    platform::Message message{};
    if (platform::peekMessage(message)) {
      if (message.message == WM_QUIT) break;
      platform::translateMessage(message);
      platform::dispatchMessage(message);
      continue;
    }
    const std::uint32_t now = platform::tickCount();
    if (now - lastPoll >= kIdleWaitMs) {
      window_.IdleHoverPoll();
      lastPoll = now;
    }
    platform::waitForMessage(kIdleWaitMs);
  }
  // The window may have been closed by the system while files were still being
  // written; the pass is stopped and waited for, never cut off mid-file.
  if (passiveLog_ != nullptr && worker_.hasThread() && exitCode_ == kExitSuccess) {
    exitCode_ = kExitCancelled;
  }
  StopWorker();
  return exitCode_;
}

void SetupApp::StopWorker() {
  if (!worker_.hasThread()) return;
  worker_.requestCancel();
  worker_.waitUntilEnded();
}

void SetupApp::PaintBackground(Image* backBuffer) {
  wizard_->PaintBackground(backBuffer);
}

bool SetupApp::OnInstallingPage() const {
  const Page* page = wizard_->Current();
  return page != nullptr && page->RunsInstallation();
}

bool SetupApp::OnLastPage() const {
  const Page* page = wizard_->Current();
  return page != nullptr && page->EndsSetup();
}

void SetupApp::ShowPage(int page) {
  wizard_->ShowPage(page);
  if (OnInstallingPage()) StartInstallation();
  window_.Repaint();
}

void SetupApp::Step(int delta) {
  if (OnLastPage()) {
    if (delta > 0) AskCancelOrFinish();
    return;
  }
  ShowPage(wizard_->StepTarget(delta));
}

void SetupApp::LeaveInstallation(int delta) {
  // A page list that ends at the installing page has nowhere to go; showing it
  // again would start another pass.
  const int target = wizard_->StepTarget(delta);
  if (target != wizard_->CurrentPage()) ShowPage(target);
}

void SetupApp::StartInstallation() {
  // A passive run's choices came from its command line, not from the pages.
  if (passiveLog_ == nullptr) wizard_->StoreChoices(options_);
  target_.parentFolder = options_.ParentFolder;
  chooseDefaultLinks(options_, target_);
  notify_.window = window_.Handle();
  notify_.progressMessage = MSG_INSTALL_PROGRESS;
  notify_.doneMessage = MSG_INSTALL_DONE;
  notify_.errorMessage = MSG_INSTALL_ERROR;
  worker_.start();
}

void SetupApp::OnInstallDone(std::intptr_t state) {
  if (state != 1) return;
  worker_.waitUntilEnded();
  if (passiveLog_ != nullptr) {
    SetupString location;
    target_.location(location);
    logInstalledFiles(*passiveLog_, model_, location.text());
    passiveLog_->line("result: installed");
    EndPassive(kExitSuccess);
    return;
  }
  LeaveInstallation(+1);
}

void SetupApp::EndPassive(int code) {
  exitCode_ = code;
  platform::postMessage(window_.Handle(), WM_CLOSE, 0, 0);
}

void SetupApp::OnInstallError() {
  if (passiveLog_ != nullptr) {
    logInstallFailure(*passiveLog_, worker_.failure());
    worker_.waitUntilEnded();
    passiveLog_->line("result: failed");
    EndPassive(kExitFailed);
    return;
  }
  // The error text's conversions are ours (TextSet::set sees to it): one %s.
  SetupString text;
  text.format(texts_.text(texts::ErrorText),
              texts_.text(installErrorTextId(worker_.failure().code)));
  // Files in use: the programs holding them, when the system can tell.
  if (!worker_.failure().holders.isEmpty()) {
    text.append("\n\n");
    text.append(texts_.text(texts::ProgramsUsing));
    text.append(worker_.failure().holders);
  }
  platform::messageBox(window_.Handle(), text.text(), texts_.text(texts::ErrorCaption),
                       MB_ICONERROR | MB_OK);
  worker_.waitUntilEnded();
  // Back to the page a step back leads to, where the user may choose again;
  // a page with nothing to offer is passed over, as a step passes it.
  LeaveInstallation(-1);
}

void SetupApp::AskCancelOrFinish() {
  if (OnLastPage()) {
    if (wizard_->Current()->RunsProductAfterSetup()) RunAfterExit();
    platform::postMessage(window_.Handle(), WM_CLOSE, 0, 0);
    return;
  }
  if (platform::messageBox(window_.Handle(), texts_.text(texts::CancelText),
                           texts_.text(texts::CancelCaption), MB_YESNO) == IDYES) {
    platform::postMessage(window_.Handle(), WM_CLOSE, 0, 0);
  }
}

void SetupApp::RunAfterExit() {
  SetupString folder;
  target_.location(folder);
  for (int i = 0; i < model_.itemCount(); ++i) {
    const InstallItem* item = model_.itemAt(i);
    if ((item->flags & kItemRunAfterSetup) != 0) {
      launchProgramAsUser(window_.Handle(), item->fileName.text(), folder.text());
    }
  }
}

void SetupApp::BrowseForLocation() {
  SetupString chosen = options_.ParentFolder;
  if (!browseForFolder(texts_.text(texts::BrowseTitle), chosen, window_.Handle())) return;
  options_.ParentFolder = chosen;
  wizard_->LocationChanged();
  window_.Repaint();
}

void SetupApp::RestoreDefaultLocation() {
  options_.ParentFolder = target_.programFiles;
  wizard_->LocationChanged();
  window_.Repaint();
}

int SetupApp::HandleWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                  std::intptr_t* result) {
  *result = 0;
  const bool installing = OnInstallingPage();
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MAXIMIZED) {
        platform::showWindow(window_.Handle(), SW_RESTORE);
      } else if (wParam == SIZE_MINIMIZED) {
        platform::showWindow(window_.Handle(), SW_MINIMIZE);
      } else {
        return 0;
      }
      return 1;
    case WM_GETMINMAXINFO: {
      // Every size the system may ask for is the one the window has.
      platform::Rect rect{};
      if (lParam == 0 || !platform::getWindowRect(window_.Handle(), rect)) return 1;
      auto* info = reinterpret_cast<MinMaxInfo*>(lParam);
      const WinPoint size{rect.right - rect.left, rect.bottom - rect.top};
      info->ptMaxSize = size;
      info->ptMaxPosition = WinPoint{rect.left, rect.top};
      info->ptMinTrackSize = size;
      info->ptMaxTrackSize = size;
      return 1;
    }
    case WM_CHAR:
      // A passive run asks nothing: Escape stops it.
      if (passiveLog_ != nullptr && wParam == 27) EndPassive(kExitCancelled);
      if (installing || passiveLog_ != nullptr) return 1;
      if (wParam == 27) {
        AskCancelOrFinish();
        return 1;
      }
      // Enter and Backspace step whatever buttons show, and still reach the
      // default procedure.
      if (wParam == 13) Step(+1);
      if (wParam == 8) Step(-1);
      return 0;
    case MSG_NAVIGATE:
      if (passiveLog_ != nullptr && wParam == kNavigateCancel) EndPassive(kExitCancelled);
      if (installing || passiveLog_ != nullptr) return 1;
      switch (wParam) {
        case kNavigateBack:
          Step(-1);
          break;
        case kNavigateNext:
        case kNavigateAgree:
          Step(+1);
          break;
        case kNavigateCancel:
        case kNavigateFinish:
          AskCancelOrFinish();
          break;
        default:
          break;
      }
      return 1;
    case MSG_LINK:
      switch (wParam) {
        case kLinkBrowse:
          BrowseForLocation();
          break;
        case kLinkRestoreDefaults:
          RestoreDefaultLocation();
          break;
        default:
          if (wizard_->OnLink(int(wParam))) window_.Repaint();
          break;
      }
      return 1;
    case MSG_INSTALL_PROGRESS:
      // The worker posts one message per 16 KiB block, thousands for a large
      // package, each a whole percent: only a change is drawn and painted, or
      // the window thread would fall behind and show Finished long after the
      // files are written.
      if (wizard_->ShowProgress(std::int16_t(std::uint16_t(std::uintptr_t(lParam) & 0xFFFF)) *
                                0.01)) {
        window_.Repaint();
      }
      return 1;
    case WM_DPICHANGED:
      // Only a setup that declared itself aware is told; one that was not is
      // enlarged by the system.
      if (!scaleAware_) return 0;
      RebuildAtScale(int(wParam & 0xFFFF), reinterpret_cast<const platform::Rect*>(lParam));
      return 1;
    case MSG_INSTALL_DONE:
      OnInstallDone(lParam);
      return 1;
    case MSG_INSTALL_ERROR:
      OnInstallError();
      return 1;
    default:
      return 0;
  }
}
