// kpack setup: a finished Windows setup from a manifest, without a compiler. The
// package is built as kpack build builds it and written, with the vendor's skin if
// one is given, into a copy of the setup stub (the Windows program with its
// strings, icon, manifest and the default skin, but no package), which is then
// signed if asked for.
#pragma once

#include <string>

#include "kpack/PackageWriter.h"

namespace kpack {

struct SetupArguments {
  std::string manifest;
  std::string output;        // empty: the settings key followed by "Setup.exe"
  std::string skin;          // empty: the stub's own skin
  std::string glyphs;        // empty: the .glyphs file beside the skin, if any
  std::string stub;          // empty: kStubName beside kpack, or in ../share/kestrane
  std::string certificate;   // a .pfx to sign with; empty: unsigned
  std::string passwordFile;  // the certificate's password, for osslsigncode -readpass
  std::string timestampUrl;  // a time-stamp server, passed on to osslsigncode
  BuildOptions build;        // how the package is compressed
};

// The stub's file name; the Windows build puts it beside kpack.
constexpr char kStubName[] = "kestrane-stub.exe";

// The default output name for a settings key (Windows-1252): the key without
// blanks and characters Windows refuses in file names, followed by "Setup.exe".
// Empty when nothing of the key is left.
std::string defaultSetupName(const std::string& settingsKey);

// Runs the command; the exit status: 0, 1 for a manifest, skin or stub that
// cannot be used or a failed signature, 2 for bad arguments or files that cannot
// be read or written. `program` is the path kpack was started as.
int setupCommand(const SetupArguments& arguments, const std::string& program);

}  // namespace kpack
