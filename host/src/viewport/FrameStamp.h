#pragma once

namespace host {

// The number of refreshes so far.
unsigned long long frameStamp();

}  // namespace host
