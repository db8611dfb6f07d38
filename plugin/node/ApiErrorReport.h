#pragma once

#include <maya/MStatus.h>

// The failure report of the entry points and the command: a fixed line on standard error naming
// the source and the check, then the status's own description. The line numbers are stable
// identifiers of each check that users and scripts match against, so callers pass constants.
// Returns the status unchanged so that callers can hand it straight back to the host.
MStatus reportApiError(const char* source, int line, const MStatus& status);
