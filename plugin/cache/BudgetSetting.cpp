#include "cache/BudgetSetting.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace video {
namespace {

constexpr size_t kMegabyte = 1024 * 1024;

std::string megabytes(size_t bytes) {
    return std::to_string(bytes / kMegabyte) + " MB";
}

std::optional<unsigned long long> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 19 ||
        !std::all_of(text.begin(), text.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return std::nullopt;
    }
    return std::stoull(text);
}

// A limit file holds a number of bytes, or "max" for none.
std::optional<size_t> readLimit(const std::string& file) {
    std::ifstream in(file);
    std::string text;
    if (!(in >> text)) {
        return std::nullopt;
    }
    const std::optional<unsigned long long> value = wholeNumber(text);
    if (!value || *value == 0 || *value > SIZE_MAX) {
        return std::nullopt;
    }
    return static_cast<size_t>(*value);
}

// The lowest limit in the group at `path` (as /proc/self/cgroup gives it) and its parents.
std::optional<size_t> lowestAlong(const std::string& root, std::string path,
                                  const std::string& file) {
    std::optional<size_t> lowest;
    for (;;) {
        const std::optional<size_t> limit = readLimit(root + path + "/" + file);
        if (limit && (!lowest || *limit < *lowest)) {
            lowest = limit;
        }
        if (path.empty() || path == "/") {
            return lowest;
        }
        path.erase(path.find_last_of('/'));
    }
}

bool listsMemory(const std::string& controllers) {
    std::istringstream list(controllers);
    std::string controller;
    while (std::getline(list, controller, ',')) {
        if (controller == "memory") {
            return true;
        }
    }
    return false;
}

}  // namespace

BudgetChoice chooseCacheBudget(const char* setting, size_t physicalBytes,
                               std::optional<size_t> memoryLimit) {
    const size_t usable =
        memoryLimit && *memoryLimit < physicalBytes ? *memoryLimit : physicalBytes;
    BudgetChoice choice{usable / 2, {}};
    if (!setting) {
        return choice;
    }
    const std::optional<unsigned long long> value = wholeNumber(setting);
    if (!value || *value == 0) {
        choice.warning = "CINESHEET_CACHE_MB \"" + std::string(setting) +
                         "\" is not a positive whole number of megabytes: it is ignored, the "
                         "budget is " +
                         megabytes(choice.bytes) + ".";
        return choice;
    }
    if (physicalBytes > 0 && *value > physicalBytes / kMegabyte) {
        choice.bytes = physicalBytes;
        choice.warning = "CINESHEET_CACHE_MB " + std::string(setting) +
                         " is more than the physical memory: the budget is " +
                         megabytes(physicalBytes) + ".";
        return choice;
    }
    choice.bytes = static_cast<size_t>(*value) * kMegabyte;
    return choice;
}

std::optional<size_t> cgroupMemoryLimit(const std::string& cgroupRoot,
                                        const std::string& selfCgroup) {
    std::ifstream in(selfCgroup);
    std::string line;
    std::optional<size_t> lowest;
    auto lower = [&lowest](std::optional<size_t> limit) {
        if (limit && (!lowest || *limit < *lowest)) {
            lowest = limit;
        }
    };
    while (std::getline(in, line)) {
        // hierarchy-id:controllers:path
        const size_t first = line.find(':');
        const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
        if (second == std::string::npos) {
            continue;
        }
        const std::string controllers = line.substr(first + 1, second - first - 1);
        std::string path = line.substr(second + 1);
        if (!path.empty() && path.back() == '/') {
            path.pop_back();
        }
        if (line.compare(0, first, "0") == 0 && controllers.empty()) {
            lower(lowestAlong(cgroupRoot, path, "memory.max"));
        } else if (listsMemory(controllers)) {
            lower(lowestAlong(cgroupRoot + "/memory", path, "memory.limit_in_bytes"));
        }
    }
    return lowest;
}

size_t physicalMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? static_cast<size_t>(pages) * static_cast<size_t>(pageSize)
                                     : 0;
}

}  // namespace video
