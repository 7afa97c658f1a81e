// Document types under the target's classes root: the ProgID keys that open documents with
// the installed application, each extension's owner (its default value), and the
// "OpenWithProgids" lists. The owner an extension had before is found again as the
// first other ProgID of that list, the same list in which this program leaves its
// own; taking an extension lists its owner there first, since many owners never
// list themselves. What the install found at each extension (a key it made, an
// owner it listed) is kept below the product's settings key, so that the uninstall
// can put the extension back as it was.
#pragma once

#include "base/SetupString.h"
#include "package/InstallModel.h"
#include "system/InstallTarget.h"

// The extension with one '.' in front unless it already starts with one.
SetupString dottedExtension(const char* ext);

// Writes key K (`name`, or "Applications\" + name for an application) afresh: the
// old tree is deleted, then the description, "DefaultIcon" (application path and
// icon index), the open and edit commands (application path, a blank, "%1" in
// double quotes) and, with `dde`, their DDE messages are written, and the "shellex" handler slot
// when both shellExKey and handlerClassId are given. The application path is its
// short (8.3) form when the file system has one, and is put in double quotes in the
// commands when it holds a blank. False when a text is missing or empty or a write
// fails; the rows written before a failure stay.
bool registerProgId(const InstallTarget& target, bool isApplication, const char* name,
                    const char* description, const char* appPath, int iconIndex,
                    const char* shellExKey, const char* handlerClassId, bool dde = true);

// Lists progId under the extension's "OpenWithProgids" key (a REG_NONE value of
// that name). False for null texts or a failed write.
bool addOpenWithProgid(const InstallTarget& target, const char* progId, const char* ext);

// Takes progId out of that list. False for null texts, or when it was not there.
bool removeOpenWithProgid(const InstallTarget& target, const char* progId, const char* ext);

// Makes progId the extension's owner, and lists it under "OpenWithProgids" too when
// listInOpenWith is non-zero. An owner before it that the list did not name is
// listed first, so that a release finds it; `listedOwner`, when given, receives
// that owner's name (and is left alone when none was listed). Does nothing for null
// texts.
void takeExtension(const InstallTarget& target, const char* progId, const char* ext,
                   int listInOpenWith, SetupString* listedOwner = nullptr);

// True when the extension's default value is progId, in any letter case.
bool extensionOwnedBy(const InstallTarget& target, const char* progId, const char* ext);

// Takes progId out of the list, then, when it owns the extension, empties the
// extension's default value. True only in that case.
bool disownExtension(const InstallTarget& target, const char* progId, const char* ext);

// The first named value of the extension's "OpenWithProgids" key, into `out`.
// False when the key is missing or lists no name.
bool firstOtherProgid(const InstallTarget& target, SetupString& out, const char* ext);

// Gives an extension progId owns back to the first other ProgID listed for it (or
// leaves it without an owner) and lists progId again. False, with nothing changed
// but progId taken out of the list, when progId did not own it; otherwise the
// result of listing progId again.
bool releaseExtension(const InstallTarget& target, const char* progId, const char* ext);

// What the install found at an extension before it first touched it.
struct ExtensionOrigin {
  bool known = false;         // false: nothing was recorded (a name that is no key)
  bool created = false;       // the extension had no key
  SetupString previousOwner;  // its owner then, another program's ProgID, or empty
  bool listedOwner = false;   // the install listed that owner under "OpenWithProgids"
};

// The record of the model's install for `ext`, below the target's machine root.
// False, with `out` unknown, when there is none.
bool readExtensionOrigin(const InstallTarget& target, const InstallModel& model, const char* ext,
                         ExtensionOrigin& out);

// releaseExtension, then, when progId owned it and the owner before the install is
// still listed, that owner takes it, whichever ProgID the list names first.
bool giveBackExtension(const InstallTarget& target, const char* progId, const char* ext,
                       const ExtensionOrigin& origin);

// The install pass for the application item at itemIndex, installed at appPath:
// its own "Applications" entry, then each of its document types with their fixed
// extensions taken and their optional ones taken when checked (only those of the
// model's selectable type, at positions below 100) or else released; every
// extension ends with the type's ProgID in its "OpenWithProgids" list. The first
// time an install touches an extension, its origin is recorded.
void registerDocumentTypes(const InstallTarget& target, const InstallOptions& options,
                           int itemIndex, const char* appPath);
