#include "node/ApiErrorReport.h"

#include <iostream>

MStatus reportApiError(const char* source, int line, const MStatus& status) {
    std::cerr << "\nAPI error detected in " << source << " at line " << line << std::endl;
    status.perror("");
    return status;
}
