#include "TestSupport.h"
#include "cache/BudgetSetting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr size_t kMegabyte = 1024 * 1024;
constexpr size_t kPhysical = 16384 * kMegabyte;

TEST(BudgetSetting, WholeMegabytesAreTakenAsGiven) {
    const video::BudgetChoice choice = video::chooseCacheBudget("512", kPhysical, std::nullopt);
    EXPECT_EQ(choice.bytes, 512 * kMegabyte);
    EXPECT_TRUE(choice.warning.empty());
}

TEST(BudgetSetting, UnsetIsHalfOfTheLowerOfPhysicalMemoryAndTheProcessLimit) {
    EXPECT_EQ(video::chooseCacheBudget(nullptr, kPhysical, std::nullopt).bytes, kPhysical / 2);
    // A container or a farm job limited to 4 GB on a 16 GB machine.
    const video::BudgetChoice limited =
        video::chooseCacheBudget(nullptr, kPhysical, 4096 * kMegabyte);
    EXPECT_EQ(limited.bytes, 2048 * kMegabyte);
    EXPECT_TRUE(limited.warning.empty());
    // A limit above the machine's memory limits nothing.
    EXPECT_EQ(video::chooseCacheBudget(nullptr, kPhysical, 2 * kPhysical).bytes, kPhysical / 2);
}

TEST(BudgetSetting, WhatIsNotAPositiveWholeNumberIsIgnoredWithAWarning) {
    for (const char* unusable : {"", "0", "-3", "12 MB", "x", "1.5", "+5", " 7"}) {
        const video::BudgetChoice choice =
            video::chooseCacheBudget(unusable, kPhysical, 1024 * kMegabyte);
        EXPECT_EQ(choice.bytes, 512 * kMegabyte) << '"' << unusable << '"';
        EXPECT_NE(choice.warning.find("CINESHEET_CACHE_MB"), std::string::npos) << unusable;
        EXPECT_NE(choice.warning.find("ignored"), std::string::npos) << unusable;
    }
}

TEST(BudgetSetting, MoreThanThePhysicalMemoryIsCappedWithAWarning) {
    const video::BudgetChoice choice =
        video::chooseCacheBudget("99999999", kPhysical, std::nullopt);
    EXPECT_EQ(choice.bytes, kPhysical);
    EXPECT_NE(choice.warning.find("physical memory"), std::string::npos);
    // Exactly the physical memory is allowed.
    EXPECT_TRUE(video::chooseCacheBudget("16384", kPhysical, std::nullopt).warning.empty());
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
