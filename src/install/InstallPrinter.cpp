#include "install/InstallPrinter.h"

void InstallPrinter::onDone(int state) {
  std::fprintf(out_, "done %d\n", state);
  std::fflush(out_);
  if (state == 1) succeeded_ = true;
}

bool InstallPrinter::onProgress(int percent) {
  // The report after the last one allowed stops the pass, so the block that
  // report was about is still inflated, as with a cancel asked of the worker.
  if (style_.cancelAfter > 0 && progressCount_ >= style_.cancelAfter) return false;
  ++progressCount_;
  if (style_.progress) {
    std::fprintf(out_, "progress %d\n", percent);
    std::fflush(out_);
  }
  return true;
}

void InstallPrinter::onError(const FailureRecord& failure) {
  const std::string path = style_.pathText != nullptr
                               ? style_.pathText(failure.path)
                               : std::string(failure.path.text(), std::size_t(failure.path.length()));
  std::fprintf(out_, "error %d %s\n", int(failure.code), path.c_str());
  std::fflush(out_);
  failed_ = true;
}
