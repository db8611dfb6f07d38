#pragma once

#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MString.h>

#include <gtest/gtest.h>

#include <string>

// A fresh scene with the CineSheet type registered anew, so that every test sees the colour
// spaces the host reports when it starts, and no faults.
class NodeFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the node type again, e.g. after changing the host's colour configuration.
    static void reregisterNodeType();
    // Runs host commands; the test fails if they fail.
    static void run(const std::string& script);

    // A CineSheet shape under a new transform; the shape is returned.
    static MObject createCineSheet(MObject* transform = nullptr);
    // A transform standing in for a camera, its world matrix connected to the node's camera input.
    static MObject attachCameraTransform(const MObject& sheet);

    static MObject nodeNamed(const MString& name);
    static MPlug plug(const MObject& node, const MString& attribute);
    static MMatrix matrixValue(const MPlug& plug);
    static void setResolution(int width, int height);
};
