#include <gtest/gtest.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MIntArray.h>
#include <maya/MPointArray.h>
#include <maya/MStringArray.h>

#include <sstream>

namespace {

TEST(ValueArrays, EditingKeepsOrder) {
    MIntArray values(3, 7);
    ASSERT_EQ(values.length(), 3u);
    EXPECT_EQ(values.set(1, 1), MStatus::kSuccess);
    EXPECT_EQ(values.insert(9, 0), MStatus::kSuccess);
    EXPECT_EQ(values.insert(5, 4), MStatus::kSuccess) << "inserting at the length appends";
    EXPECT_EQ(values.remove(2), MStatus::kSuccess);
    values.append(4);
    std::ostringstream out;
    out << values;
    EXPECT_EQ(out.str(), "[9, 7, 7, 5, 4]");
}

TEST(ValueArrays, OutOfRangeEditsFailAndChangeNothing) {
    MDoubleArray values(2, 0.5);
    EXPECT_NE(values.set(1.0, 2), MStatus::kSuccess);
    EXPECT_NE(values.remove(2), MStatus::kSuccess);
    EXPECT_NE(values.insert(1.0, 3), MStatus::kSuccess);
    EXPECT_EQ(values.length(), 2u);
    EXPECT_THROW(values[2], std::out_of_range);
}

TEST(ValueArrays, CopiesAreIndependent) {
    MStringArray names;
    names.append("a");
    MStringArray copy(names);
    MStringArray assigned;
    assigned = names;
    names[0] = "changed";
    EXPECT_EQ(copy[0], "a");
    EXPECT_EQ(assigned[0], "a");
    EXPECT_EQ(names.indexOf("changed"), 0);
    EXPECT_EQ(names.indexOf("a"), -1);
}

TEST(ValueArrays, SetLengthGrowsWithDefaultsAndShrinks) {
    MPointArray points;
    points.setLength(2);
    EXPECT_EQ(points[1], MPoint(0, 0, 0, 1));
    points.append(1, 2);
    EXPECT_EQ(points[2], MPoint(1, 2, 0, 1));
    points.setLength(1);
    EXPECT_EQ(points.length(), 1u);
    points.clear();
    EXPECT_EQ(points.length(), 0u);

    MFloatPointArray corners(4);
    corners.set(3, 1.0f, -1.0f);
    EXPECT_EQ(corners[3], MFloatPoint(1.0f, -1.0f, 0.0f, 1.0f));

    const int raw[] = {3, 2, 1};
    MIntArray fromRaw(raw, 3);
    int back[3] = {};
    fromRaw.get(back);
    EXPECT_EQ(back[2], 1);
}

}  // namespace
