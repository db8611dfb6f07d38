#include "TestSupport.h"
#include "cache/BudgetSetting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

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

// Control groups laid out in a scratch folder as the kernel mounts them.
class CgroupFolder {
public:
    void write(const std::string& relative, const std::string& text) {
        const std::filesystem::path file = std::filesystem::path(folder_.path()) / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    std::string root() const { return folder_.file("cgroup"); }
    std::string self() const { return folder_.file("self"); }

private:
    testsupport::TempDir folder_;
};

TEST(BudgetSetting, ControlGroupVersionTwoLowestLimitUpThePath) {
    CgroupFolder groups;
    groups.write("self", "0::/farm/job42\n");
    groups.write("cgroup/farm/job42/memory.max", "max\n");
    groups.write("cgroup/farm/memory.max", "3221225472\n");
    groups.write("cgroup/memory.max", "max\n");
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.self()), 3221225472u);
    groups.write("cgroup/farm/job42/memory.max", "1073741824\n");
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.self()), 1073741824u);
}

TEST(BudgetSetting, ControlGroupVersionOneMemoryController) {
    CgroupFolder groups;
    groups.write("self", "9:name=systemd:/\n4:cpu,memory:/batch/\n0::/\n");
    groups.write("cgroup/memory/batch/memory.limit_in_bytes", "2147483648\n");
    groups.write("cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n");
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.self()), 2147483648u);
}

TEST(BudgetSetting, ControlGroupSeenFromInsideAContainer) {
    // The group's path names the host's hierarchy, while the container mounts its own group as
    // the root: the root's limit is the one that holds.
    CgroupFolder groups;
    groups.write("self", "0::/system.slice/container-7.scope\n");
    groups.write("cgroup/memory.max", "805306368\n");
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.self()), 805306368u);
}

TEST(BudgetSetting, NoControlGroupLimit) {
    CgroupFolder groups;
    groups.write("self", "0::/user.slice\n");
    groups.write("cgroup/user.slice/memory.max", "max\n");
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.self()), std::nullopt);
    EXPECT_EQ(video::cgroupMemoryLimit(groups.root(), groups.root() + "/missing"), std::nullopt);
}

}  // namespace
