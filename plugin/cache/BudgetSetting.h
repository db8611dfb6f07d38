#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace video {

// The budget chosen for the process and what the user is to be told about their setting.
struct BudgetChoice {
    size_t bytes = 0;
    // Empty when the setting was used as given, or not given.
    std::string warning;
};

// The budget in bytes for all the memory the caches account for: `setting` is the value of the
// environment variable CINESHEET_CACHE_MB (whole megabytes). Unset gives half of the memory the
// process may use: the lower of `physicalBytes` and `memoryLimit` (a container's or a job's
// limit). A value that is not a positive whole number is ignored with a warning; one above the
// physical memory is cut down to it with a warning.
BudgetChoice chooseCacheBudget(const char* setting, size_t physicalBytes,
                               std::optional<size_t> memoryLimit);

// The memory limit of the control group the process runs in (cgroup v2 `memory.max`, or v1
// `memory.limit_in_bytes`), the lowest along its path up to the root; none when no limit is set
// or none can be read. `selfCgroup` is the process's /proc/self/cgroup, `cgroupRoot` where the
// control groups are mounted.
std::optional<size_t> cgroupMemoryLimit(const std::string& cgroupRoot = "/sys/fs/cgroup",
                                        const std::string& selfCgroup = "/proc/self/cgroup");

// The physical memory of the machine, 0 when unknown.
size_t physicalMemory();

}  // namespace video
