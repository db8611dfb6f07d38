#include "NodeFixture.h"

#include "node/CineSheet.h"
#include "node/ColorSpaceChoice.h"

#include <host/Faults.h>
#include <host/PlugText.h>

#include <maya/MFnAttribute.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MFnEnumAttribute.h>
#include <maya/MTime.h>

#include <string>
#include <vector>

namespace {

struct ExpectedAttribute {
    const char* longName;
    const char* shortName;
    const char* flags;         // s storable, k keyable, c connectable, h hidden
    const char* defaultValue;  // as getAttr gives it on a new node; null: not checked here
};

// Stored scenes hold these names and only values other than these defaults; the flags decide
// what is saved, keyed, connected and shown.
const std::vector<ExpectedAttribute> kAttributes = {
    {"cameraMatrix", "cameraMatrix", "c", nullptr},
    {"cameraWorldMatrix", "cameraWorldMatrix", "sc", nullptr},
    {"cameraHAperture", "cameraHAperture", "sc", "1.417"},
    {"cameraVAperture", "cameraVAperture", "sc", "0.945"},
    {"cameraFocalLength", "cameraFocalLength", "sc", "35"},
    {"cameraFilmFit", "cameraFilmFit", "sc", "1"},
    {"file", "file", "sc", ""},
    {"frame", "frame", "skc", "0"},
    {"frameOffset", "offset", "skc", "0"},
    {"startFrame", "start", "skc", "0"},
    {"endFrame", "end", "skc", "0"},
    {"forceFrameRate", "forceFrameRate", "sc", "0"},
    {"planeFit", "fit", "skc", "0"},
    {"planeDepth", "depth", "skc", "100"},
    {"planePosX", "posX", "skc", "0"},
    {"planePosY", "posY", "skc", "0"},
    {"planeScale", "scl", "skc", "1"},
    {"cacheFrames", "cacheFrames", "skc", "120"},
    {"cacheResolution", "cacheResolution", "sc", "0"},
    {"cacheDepth", "cacheDepth", "sc", "0"},
    {"colorSpace", "colorSpace", "sc", nullptr},
    {"gamma", "gamma", "skc", "1"},
    {"frameRatio", "ratio", "sh", "1.77"},
    {"keyframeInterval", "keyframeInterval", "h", "0"},
    {"renderWidth", "renderWidth", "sc", nullptr},
    {"renderHeight", "renderHeight", "sc", nullptr},
    {"colorSpaceName", "csn", "sh", nullptr},
    {"cameraOrthographic", "cameraOrthographic", "sc", "0"},
    {"cameraOrthographicWidth", "cameraOrthographicWidth", "sc", "10"},
    {"alphaGain", "ag", "skc", "1"},
    {"displayOnlyIfCurrent", "dic", "sc", "0"},
    {"displayInfo", "displayInfo", "sc", "0"},
    {"holdEndFrames", "hold", "sc", "0"},
    {"footageKeyframeInterval", "footageKeyframeInterval", "h", nullptr},
    {"footageKeyframeFile", "footageKeyframeFile", "h", nullptr},
    {"footageRoot", "footageRoot", "h", nullptr},
    {"cameraLost", "cameraLost", "sh", nullptr},
    {"soundOffset", "soundOffset", "ch", nullptr},
    {"soundStart", "soundStart", "ch", nullptr},
};

// The fields from the lowest value on: -1 for the colour space, 0 for every other enumeration.
std::vector<std::string> enumFields(const MObject& attribute) {
    MFnEnumAttribute fn(attribute);
    std::vector<std::string> fields;
    short lowest = 0;
    EXPECT_EQ(fn.getMin(lowest), MStatus::kSuccess);
    for (short value = lowest;; ++value) {
        MStatus status;
        const MString name = fn.fieldName(value, &status);
        if (status != MStatus::kSuccess) {
            return fields;
        }
        fields.emplace_back(name.asChar());
    }
}

short enumDefault(const MObject& attribute) {
    short value = -1;
    EXPECT_EQ(MFnEnumAttribute(attribute).getDefault(value), MStatus::kSuccess);
    return value;
}

using AttributeTest = NodeFixture;

TEST_F(AttributeTest, AttributesComeInOrderWithTheirNamesFlagsDefaultsAndFields) {
    const MObject sheet = createCineSheet();
    MFnDependencyNode node(sheet);
    MStatus status;
    const MObject first = node.attribute("cameraMatrix", &status);
    ASSERT_EQ(status, MStatus::kSuccess);
    unsigned int index = 0;
    while (node.attribute(index) != first) {
        ASSERT_LT(++index, node.attributeCount());
    }

    for (const ExpectedAttribute& expected : kAttributes) {
        SCOPED_TRACE(expected.longName);
        MFnAttribute fn(node.attribute(index++));
        EXPECT_STREQ(fn.name().asChar(), expected.longName);
        EXPECT_STREQ(fn.shortName().asChar(), expected.shortName);
        const std::string flags = std::string(fn.isStorable() ? "s" : "") +
                                  (fn.isKeyable() ? "k" : "") + (fn.isConnectable() ? "c" : "") +
                                  (fn.isHidden() ? "h" : "");
        EXPECT_EQ(flags, expected.flags);
        EXPECT_FALSE(fn.isArray());
        if (expected.defaultValue != nullptr) {
            EXPECT_STREQ(host::plugValueText(plug(sheet, expected.longName)).asChar(),
                         expected.defaultValue);
        }
    }
    EXPECT_EQ(MFnAttribute(CineSheet::aCamWorldMtx).disconnectBehavior(), MFnAttribute::kNothing);
    EXPECT_TRUE(MFnAttribute(CineSheet::aFile).isUsedAsFilename());
    EXPECT_EQ(enumFields(CineSheet::aPlaneFit),
              (std::vector<std::string>{"Auto", "Horizontal", "Vertical"}));
    EXPECT_EQ(enumFields(CineSheet::aCacheRes),
              (std::vector<std::string>{"Full", "Half", "Quarter"}));
    EXPECT_EQ(enumFields(CineSheet::aCacheDepth),
              (std::vector<std::string>{"Auto", "8-bit", "Half"}));
}

TEST_F(AttributeTest, SceneKeepsFrameRatioButNotKeyframeInterval) {
    const MObject sheet = createCineSheet();
    plug(sheet, "frameRatio").setDouble(2.5);
    plug(sheet, "keyframeInterval").setInt(12);
    plug(sheet, "footageKeyframeInterval").setInt(12);
    plug(sheet, "footageKeyframeFile").setString("clip.mp4");
    plug(sheet, "cameraMatrix").asMObject();
    std::vector<std::string> saved;
    for (const host::SavedPlugValue& value : host::savedPlugValues(sheet)) {
        saved.push_back(value.attribute);
    }
    EXPECT_EQ(saved, std::vector<std::string>{"frameRatio"});
}

// The choices are the file rules, None and the configuration's input spaces; another
// configuration adds its new spaces after them, and every field keeps its number and name.
TEST_F(AttributeTest, ColorSpacesFollowTheConfigurationInForce) {
    run("hostConfig -inputSpaceNames \"Raw,sRGB,ACEScg\" -renderingSpaceName \"ACEScg\"");
    reregisterNodeType();
    // As the loaded plug-in does.
    struct Following {
        Following() { EXPECT_EQ(registerColorSpaceCallbacks(), MStatus::kSuccess); }
        ~Following() { deregisterColorSpaceCallbacks(); }
    } following;
    EXPECT_EQ(enumFields(CineSheet::aColorSpace),
              (std::vector<std::string>{"From File Rules", "None", "Raw", "sRGB", "ACEScg"}));
    EXPECT_EQ(enumDefault(CineSheet::aColorSpace), -1);
    EXPECT_EQ(plug(createCineSheet(), "colorSpace").asShort(), -1);

    run("hostConfig -inputSpaceNames \"Utility - Raw,sRGB\"");
    EXPECT_EQ(enumFields(CineSheet::aColorSpace),
              (std::vector<std::string>{"From File Rules", "None", "Raw", "sRGB", "ACEScg",
                                        "Utility - Raw"}));
    EXPECT_EQ(MFnEnumAttribute(CineSheet::aColorSpace).fieldIndex("Utility - Raw"), 4);
}

TEST_F(AttributeTest, FailingColorQueryLeavesTheRulesAndNone) {
    ASSERT_TRUE(host::setFault(host::fault::kColorManagementQuery, true));
    reregisterNodeType();
    EXPECT_EQ(enumFields(CineSheet::aColorSpace),
              (std::vector<std::string>{"From File Rules", "None"}));
    EXPECT_EQ(plug(createCineSheet(), "colorSpace").asShort(), -1);
}

// Only placement inputs dirty the placement, and the file, whose header gives the frame ratio.
TEST_F(AttributeTest, OnlyPlacementInputsDirtyThePlacement) {
    const MObject sheet = createCineSheet();
    attachCameraTransform(sheet);
    plug(sheet, "renderWidth").setInt(1920);
    plug(sheet, "renderHeight").setInt(1080);
    const MMatrix hd = matrixValue(plug(sheet, "cameraMatrix"));
    plug(sheet, "frame").setMTime(MTime(12.0, MTime::uiUnit()));
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), hd);
    plug(sheet, "gamma").setFloat(2.2f);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), hd);

    plug(sheet, "file").setString("/tmp/elsewhere.mov");
    EXPECT_DOUBLE_EQ(plug(sheet, "frameRatio").asDouble(), 1.77);

    plug(sheet, "frameRatio").setDouble(2.5);
    EXPECT_NE(matrixValue(plug(sheet, "cameraMatrix")), hd);
    plug(sheet, "frameRatio").setDouble(1.77);
    EXPECT_EQ(matrixValue(plug(sheet, "cameraMatrix")), hd);
}

}  // namespace
