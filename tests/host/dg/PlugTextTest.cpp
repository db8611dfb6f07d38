#include "TestNodes.h"

#include <host/PlugText.h>
#include <maya/MDGModifier.h>

#include <cmath>
#include <string>
#include <vector>

namespace dgtest {
namespace {

using PlugText = DgTest;

TEST_F(PlugText, GetAttrTextReadsBackTheValue) {
    createNode("dgDoubler", "d");
    EXPECT_EQ(host::plugValueText(plugOf("d.count")), "3");
    EXPECT_EQ(host::plugValueText(plugOf("d.input")), "1.5");
    EXPECT_EQ(host::plugValueText(plugOf("d.flag")), "0");
    EXPECT_EQ(host::plugValueText(plugOf("d.mode")), "1");
    EXPECT_EQ(host::plugValueText(plugOf("perspShape.verticalFilmAperture")), "0.945");
    EXPECT_EQ(host::plugValueText(plugOf("top.rotate")), "-90 0 0");
    EXPECT_EQ(host::plugValueText(plugOf("d.matrixIn")), "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1");
    EXPECT_EQ(host::plugValueText(plugOf("time1.outTime")), "1");
}

TEST_F(PlugText, SetAttrWordsByAttributeKind) {
    createNode("dgDoubler", "d");
    createNode("transform", "t");
    EXPECT_EQ(host::setPlugFromText(plugOf("d.flag"), {"on"}, ""), MStatus::kSuccess);
    EXPECT_TRUE(plugOf("d.flag").asBool());
    EXPECT_EQ(host::setPlugFromText(plugOf("d.input"), {"99"}, ""), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("d.input").asDouble(), 10.0);
    EXPECT_EQ(host::setPlugFromText(plugOf("d.text"), {"a b.mov"}, "string"), MStatus::kSuccess);
    EXPECT_EQ(plugOf("d.text").asString(), "a b.mov");
    EXPECT_EQ(host::setPlugFromText(plugOf("t.translate"), {"1", "2", "3"}, ""), MStatus::kSuccess);
    EXPECT_DOUBLE_EQ(plugOf("t.translateZ").asDouble(), 3.0);
    EXPECT_EQ(host::setPlugFromText(plugOf("t.rotateY"), {"180"}, ""), MStatus::kSuccess);
    EXPECT_NEAR(plugOf("t.rotateY").asDouble(), M_PI, 1e-12);
    const std::vector<std::string> shifted = {"1", "0", "0", "0", "0", "1", "0", "0",
                                              "0", "0", "1", "0", "5", "0", "0", "1"};
    EXPECT_EQ(host::setPlugFromText(plugOf("t.offsetParentMatrix"), shifted, "matrix"),
              MStatus::kSuccess);
    const std::string world = host::plugValueText(plugOf("t.worldMatrix[0]")).asChar();
    EXPECT_EQ(world.substr(world.rfind(" 6 ")), " 6 2 3 1");

    EXPECT_NE(host::setPlugFromText(plugOf("d.text"), {"x"}, ""), MStatus::kSuccess);
    EXPECT_NE(host::setPlugFromText(plugOf("d.input"), {"abc"}, ""), MStatus::kSuccess);
    EXPECT_NE(host::setPlugFromText(plugOf("t.translate"), {"1", "2"}, ""), MStatus::kSuccess);
    EXPECT_NE(host::setPlugFromText(plugOf("d.matrixIn"), {"1"}, "matrix"), MStatus::kSuccess);
}

TEST_F(PlugText, SetAttrThroughAModifierIsUndoable) {
    createNode("transform", "a");
    MDGModifier modifier;
    ASSERT_EQ(host::setPlugFromText(plugOf("a.translateX"), {"3"}, "", modifier),
              MStatus::kSuccess);
    EXPECT_EQ(host::plugValueText(plugOf("a.translateX")), "0");
    ASSERT_EQ(modifier.doIt(), MStatus::kSuccess);
    EXPECT_EQ(host::plugValueText(plugOf("a.translateX")), "3");
    ASSERT_EQ(modifier.undoIt(), MStatus::kSuccess);
    EXPECT_EQ(host::plugValueText(plugOf("a.translateX")), "0");
}

}  // namespace
}  // namespace dgtest
