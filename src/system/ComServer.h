// In-process COM servers of the package, registered by writing their keys: the
// server file is never loaded and none of its code runs.
#pragma once

#include "system/InstallTarget.h"

// Where the shell lists the shell extensions it may load.
constexpr char kApprovedShellExtensions[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

// Wipes any earlier registration of classId, then writes "CLSID\<classId>" with
// serverName, its "InProcServer32" with the quoted serverPath and the apartment
// threading model, and lists the class among the approved shell extensions. False
// when a text is null or empty or a write fails; what was written before stays.
bool registerComServer(const InstallTarget& target, const char* classId, const char* serverName,
                       const char* serverPath);

// Deletes "CLSID\<classId>" with everything below it. True when it was deleted;
// false for a null or empty classId, or when there was nothing to delete.
bool unregisterComServer(const InstallTarget& target, const char* classId);
