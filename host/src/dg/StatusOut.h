#pragma once

#include <maya/MStatus.h>

namespace host {

// Fills an optional status argument of an API call.
inline void setStatus(MStatus* out, MStatus value) {
    if (out) {
        *out = value;
    }
}

}  // namespace host
