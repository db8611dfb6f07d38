#include <gtest/gtest.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

namespace {

TEST(MTime, OneUnitInSecondsIsExact) {
    const std::pair<MTime::Unit, double> secondsPerUnit[] = {
        {MTime::kHours, 3600.0},
        {MTime::kMinutes, 60.0},
        {MTime::kSeconds, 1.0},
        {MTime::kMilliseconds, 1.0 / 1000.0},
        {MTime::kGames, 1.0 / 15.0},
        {MTime::kFilm, 1.0 / 24.0},
        {MTime::kPALFrame, 1.0 / 25.0},
        {MTime::kNTSCFrame, 1.0 / 30.0},
        {MTime::kShowScan, 1.0 / 48.0},
        {MTime::kPALField, 1.0 / 50.0},
        {MTime::kNTSCField, 1.0 / 60.0},
        {MTime::k23_976FPS, 1001.0 / 24000.0},
        {MTime::k44100FPS, 1.0 / 44100.0},
        {MTime::k119_88FPS, 1001.0 / 120000.0},
    };
    const MTime::Unit saved = MTime::uiUnit();
    for (const auto& [unit, seconds] : secondsPerUnit) {
        ASSERT_EQ(MTime::setUIUnit(unit), MStatus::kSuccess);
        EXPECT_EQ(MTime(1.0, MTime::uiUnit()).as(MTime::kSeconds), seconds) << "unit " << unit;
        EXPECT_EQ(MTime().unit(), unit) << "a default-made time is in the UI unit";
        EXPECT_EQ(MTime(1.0).unit(), MTime::kFilm) << "a value without a unit is in film frames";
    }
    MTime::setUIUnit(saved);
}

TEST(MTime, ConvertsBetweenFrameRates) {
    const MTime frames(48.0, MTime::kFilm);
    EXPECT_EQ(frames.as(MTime::kPALFrame), 50.0);
    EXPECT_EQ(frames.as(MTime::kSeconds), 2.0);
    EXPECT_EQ(frames.as(MTime::kFilm), 48.0);
    EXPECT_DOUBLE_EQ(MTime(1.0, MTime::kSeconds).as(MTime::k23_976FPS), 24000.0 / 1001.0);
}

TEST(MTime, SetUnitKeepsTheNumber) {
    MTime time(10.0, MTime::kFilm);
    EXPECT_EQ(time.setUnit(MTime::kSeconds), MStatus::kSuccess);
    EXPECT_EQ(time.value(), 10.0);
    EXPECT_EQ(time.as(MTime::kFilm), 240.0);
    EXPECT_NE(time.setUnit(MTime::kLast), MStatus::kSuccess);
    EXPECT_NE(MTime::setUIUnit(MTime::kInvalid), MStatus::kSuccess);
}

TEST(MTime, ComparesAndAddsAcrossUnits) {
    const MTime second(1.0, MTime::kSeconds);
    const MTime frames(24.0, MTime::kFilm);
    EXPECT_TRUE(second == frames);
    EXPECT_TRUE(MTime(25.0, MTime::kFilm) > second);
    EXPECT_TRUE(MTime(1.0, MTime::kPALFrame) < MTime(1.0, MTime::kFilm));
    const MTime sum = frames + second;
    EXPECT_EQ(sum.unit(), MTime::kFilm);
    EXPECT_EQ(sum.value(), 48.0);
    MTime counter(1.0, MTime::kFilm);
    counter += 2.0;
    counter -= MTime(0.5, MTime::kShowScan);
    EXPECT_EQ(counter.value(), 2.75);
    EXPECT_EQ((counter * 4.0).value(), 11.0);
}

TEST(MTypeId, PrefixAndIdCombine) {
    EXPECT_EQ(MTypeId(0x13B147).id(), 0x13B147u);
    EXPECT_EQ(MTypeId(0x13B1, 0x47), MTypeId(0x13B147));
    EXPECT_NE(MTypeId(1), MTypeId(2));
}

}  // namespace
