#pragma once

#include <maya/MString.h>

// True when the path names a regular file that can be opened for reading. Directories,
// devices, pipes and the kernel's pseudo-files count as missing: opening a pipe could block the
// drawing thread and reading a device might never end.
bool isReadableRegularFile(const MString& path);
