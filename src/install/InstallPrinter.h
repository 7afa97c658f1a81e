// InstallPrinter: the lines a pass without a window prints, one per event, for
// kpack install on the host and kinstall under Wine, whose tests read them:
//   "done N", "progress PERCENT", "error CODE PATH".
#pragma once

#include <cstdio>
#include <string>

#include "install/InstallPass.h"

class InstallPrinter : public InstallListener {
 public:
  struct Style {
    bool progress = true;  // print the progress lines
    // The path as printed; its stored Windows-1252 bytes when null.
    std::string (*pathText)(const SetupString& path) = nullptr;
    // Stop the pass at the first progress report after this many (0: never).
    int cancelAfter = 0;
  };

  InstallPrinter(std::FILE* out, const Style& style) : out_(out), style_(style) {}

  void onDone(int state) override;
  bool onProgress(int percent) override;
  void onError(const FailureRecord& failure) override;

  // 0 after done(1) without an error, 1 after an error, 2 when the pass never
  // ended (the status kinstall prints).
  int status() const { return failed_ ? 1 : succeeded_ ? 0 : 2; }

 private:
  std::FILE* out_;
  Style style_;
  int progressCount_ = 0;
  bool succeeded_ = false;
  bool failed_ = false;
};
