// The shell's link object ({00021401-0000-0000-C000-000000000046}) through its
// Unicode link interface, with our Windows-1252 texts widened: a shortcut is described, then saved
// through the object's persist-file interface. COM must be initialised on the calling thread; the
// object lives on it and is released by the destructor.
#pragma once

namespace platform {

class ShellLink {
 public:
  ShellLink() = default;
  ~ShellLink();
  ShellLink(const ShellLink&) = delete;
  ShellLink& operator=(const ShellLink&) = delete;

  // Creates the object (CoCreateInstance, in-process). False when it cannot be made;
  // every other call then fails too.
  bool create();

  // The path of the link's target, and the optional parts. Each is false when the
  // object refuses the text.
  bool setPath(const char* target);
  bool setArguments(const char* arguments);
  bool setWorkingDirectory(const char* folder);
  bool setDescription(const char* description);
  bool setIconLocation(const char* path, int index);

  // Asks the object for its persist-file interface and saves the link to `path`
  // (UTF-16, terminated), taking it as the link's own file when `remember` is set;
  // the interface is released again. False when the interface is missing or the
  // save fails.
  bool save(const char16_t* path, bool remember);

 private:
  void* object_ = nullptr;
};

}  // namespace platform
