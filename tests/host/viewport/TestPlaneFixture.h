#pragma once

#include <host/Commands.h>
#include <host/Plugins.h>
#include <host/Scene.h>
#include <host/Textures.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <sstream>
#include <string>
#include <vector>

// Scripts, node lookups and the test plug-in's counters for the viewport suites.
namespace viewporttest {

inline std::string run(const std::string& script) {
    host::CommandOutcome last;
    host::ScriptOptions options;
    const MStatus status = host::runScript(script, options, &last);
    EXPECT_EQ(status, MStatus::kSuccess) << script;
    return last.resultText;
}

inline std::vector<int> numbers(const std::string& text) {
    std::istringstream in(text);
    std::vector<int> values;
    for (int value = 0; in >> value;) {
        values.push_back(value);
    }
    return values;
}

inline MObject node(const char* name) {
    MObject found;
    EXPECT_EQ(host::findNode(name, found), MStatus::kSuccess) << name;
    return found;
}

// The test plug-in's counters.
struct PlaneStats {
    int overrides, data, prepares, handedBack, foreign, made, draws, otherPath;
};

inline PlaneStats planeStats() {
    const std::vector<int> v = numbers(run("testPlaneStats"));
    EXPECT_EQ(v.size(), 8u);
    return v.size() == 8 ? PlaneStats{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]}
                         : PlaneStats{};
}

// The test plug-in loaded and a plane (transform "plane", shape "planeShape") made, not drawn.
class TestPlaneViewport : public ::testing::Test {
protected:
    void SetUp() override {
        host::newScene();
        texturesBefore = host::textureStats().live;
        host::resetTextureCounters();
        ASSERT_EQ(host::loadPlugin(testsupport::testPluginDir() + "/libtestplane.so"),
                  MStatus::kSuccess);
        made = planeStats().made;
        run("createNode transform -n plane; createNode testPlane -n planeShape -p plane");
    }
    void TearDown() override {
        if (host::isPluginLoaded("libtestplane")) {
            EXPECT_EQ(host::unloadPlugin("libtestplane", true), MStatus::kSuccess);
        }
        host::newScene();
        EXPECT_EQ(host::textureStats().live, texturesBefore);
        EXPECT_EQ(host::textureStats().badReleases, 0u);
    }

    // Overrides made since the test began.
    int madeSince() { return planeStats().made - made; }

    std::size_t texturesBefore = 0;
    int made = 0;
};

}  // namespace viewporttest
