// The whole emulated machine of a host prefix as one comparable record, so tests
// can tell exactly what an install pass changed, added or removed anywhere.
#pragma once

#include <map>
#include <string>
#include <vector>

// Entry name to content. Files are "file:<path below the prefix>" with their bytes,
// folders "dir:<path>" with nothing; the registry (read from the prefix's
// registry.reg) gives "reg:<KEY>" for each key and "reg:<KEY>|<value line>" for
// each value, with nothing (and the file itself as "raw:registry.reg", which
// changedEntries leaves out).
using MachineState = std::map<std::string, std::string>;

MachineState readMachineState(const std::string& prefix);

// Makes the prefix's folders, files and registry file exactly `state` again. A
// process that has the registry in memory must reload it afterwards.
void restoreMachineState(const std::string& prefix, const MachineState& state);

// Where entries of an install may lie: "file:<path>" (a folder or a file below the
// prefix, from machineRoot), "reg:<KEY>" (a key, with everything below it) or
// "reg:<KEY>|\"<name>\"" (one value of a key).
std::string machineRoot(const char* windowsPath);
std::string registryRoot(const std::string& key);
// True when the entry is `root` itself or lies below it; registry keys compare
// without regard to case, as Windows compares them.
bool isBelowRoot(const std::string& entry, const std::string& root);
bool isBelowAnyRoot(const std::string& entry, const std::vector<std::string>& roots);

// The entries whose content differs between `a` and `b`, or that only one holds.
std::vector<std::string> changedEntries(const MachineState& a, const MachineState& b);
