#include "TestSupport.h"
#include "cache/BudgetSetting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr size_t kMegabyte = 1024 * 1024;
constexpr size_t kPhysical = 16384 * kMegabyte;

// The setting and the process's memory limit, the budget chosen and (part of) its warning.
TEST(BudgetSetting, ChosenFromTheSettingThePhysicalMemoryAndTheProcessLimit) {
    const struct {
        const char* setting;
        std::optional<size_t> limit;
        size_t bytes;
        const char* warning;
    } cases[] = {
        {"512", std::nullopt, 512 * kMegabyte, ""},
        // Unset: half of the lower of the physical memory and the limit of a container or a farm
        // job; a limit above the machine's memory limits nothing.
        {nullptr, std::nullopt, kPhysical / 2, ""},
        {nullptr, 4096 * kMegabyte, 2048 * kMegabyte, ""},
        {nullptr, 2 * kPhysical, kPhysical / 2, ""},
        // More than the physical memory is capped; exactly that is allowed.
        {"99999999", std::nullopt, kPhysical, "physical memory"},
        {"16384", std::nullopt, kPhysical, ""},
        // What is not a positive whole number is ignored.
        {"", 1024 * kMegabyte, 512 * kMegabyte, "CINESHEET_CACHE_MB"},
        {"0", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {"-3", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {"12 MB", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {"x", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {"1.5", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {"+5", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
        {" 7", 1024 * kMegabyte, 512 * kMegabyte, "ignored"},
    };
    for (const auto& c : cases) {
        const std::string name = c.setting ? c.setting : "(unset)";
        const video::BudgetChoice choice = video::chooseCacheBudget(c.setting, kPhysical, c.limit);
        EXPECT_EQ(choice.bytes, c.bytes) << '"' << name << '"';
        if (*c.warning == '\0') {
            EXPECT_EQ(choice.warning, "") << '"' << name << '"';
        } else {
            EXPECT_NE(choice.warning.find(c.warning), std::string::npos) << choice.warning;
        }
    }
}

// The lowest memory limit of the process's control group and those above it, from files laid
// out in a scratch folder as the kernel mounts them ("self" is /proc/self/cgroup).
TEST(BudgetSetting, ControlGroupLimits) {
    using Files = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* name;
        Files files;
        std::optional<size_t> limit;
    } cases[] = {
        {"version 2, lowest up the path",
         {{"self", "0::/farm/job42\n"},
          {"cgroup/farm/job42/memory.max", "max\n"},
          {"cgroup/farm/memory.max", "3221225472\n"},
          {"cgroup/memory.max", "max\n"}},
         3221225472u},
        {"version 2, the group's own",
         {{"self", "0::/farm/job42\n"},
          {"cgroup/farm/job42/memory.max", "1073741824\n"},
          {"cgroup/farm/memory.max", "3221225472\n"}},
         1073741824u},
        {"version 1, the memory controller",
         {{"self", "9:name=systemd:/\n4:cpu,memory:/batch/\n0::/\n"},
          {"cgroup/memory/batch/memory.limit_in_bytes", "2147483648\n"},
          {"cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n"}},
         2147483648u},
        // The group's path names the host's hierarchy, while a container mounts its own group as
        // the root: the root's limit is the one that holds.
        {"inside a container",
         {{"self", "0::/system.slice/container-7.scope\n"}, {"cgroup/memory.max", "805306368\n"}},
         805306368u},
        {"no limit",
         {{"self", "0::/user.slice\n"}, {"cgroup/user.slice/memory.max", "max\n"}},
         std::nullopt},
        {"no group file", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        testsupport::TempDir folder;
        for (const auto& [relative, text] : c.files) {
            const std::filesystem::path file = std::filesystem::path(folder.path()) / relative;
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file) << text;
        }
        EXPECT_EQ(video::cgroupMemoryLimit(folder.file("cgroup"), folder.file("self")), c.limit)
            << c.name;
    }
}

}  // namespace
