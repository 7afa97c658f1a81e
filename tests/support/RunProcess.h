// Running a tool from a test (host builds only), never waiting longer than told.
#pragma once

#include <string>

// Runs `command` with /bin/sh, collecting its standard output and error into
// `output`. Returns its exit status; -1 when it could not be started, was killed
// by a signal, or outlived `timeoutSeconds` (it is then killed, with whatever it
// started, by its process id).
int runBounded(const std::string& command, std::string& output, int timeoutSeconds = 60);
