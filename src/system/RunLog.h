// RunLog: the log of a run without questions, for the administrator or the
// deployment tool that started it: what the run was asked, what it wrote, each
// error with the system's code, and how it ended. UTF-8 text with CR LF line
// ends, written as it goes, so a run that is killed leaves what it did so far.
#pragma once

#include <cstdarg>

#include "base/SetupString.h"
#include "system/FileHandle.h"

class RunLog {
 public:
  RunLog() = default;
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Creates `path` anew (its folder must exist). False when it cannot be
  // written; the log then stays closed and every line is dropped.
  bool open(const char* path);
  bool isOpen() const { return file_.isOpen(); }
  const SetupString& path() const { return path_; }

  // One line, from a printf format whose text is in the program's code page
  // (Windows-1252). Nothing happens while the log is closed. False when the
  // line could not be written.
  bool line(const char* format, ...);
  bool lineV(const char* format, std::va_list arguments);

  // The system's error `code` and its text, after `what`.
  void error(const char* what, unsigned long code);

  bool close() { return file_.close(); }

 private:
  FileHandle file_;
  SetupString path_;
};

// The log a run writes when it was given none: `fileName` in the folder for
// temporary files. False when that folder is unknown or the path does not fit.
bool defaultLogPath(const char* fileName, SetupString& path);
