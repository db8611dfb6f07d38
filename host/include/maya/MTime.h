#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MStatus.h>

#include <iosfwd>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// A time: a value in a unit. Comparisons and arithmetic work across units.
class MTime {
public:
    enum Unit {
        kInvalid,
        kHours,
        kMinutes,
        kSeconds,
        kMilliseconds,
        kGames,
        kFilm,
        kPALFrame,
        kNTSCFrame,
        kShowScan,
        kPALField,
        kNTSCField,
        k2FPS,
        k3FPS,
        k4FPS,
        k5FPS,
        k6FPS,
        k8FPS,
        k10FPS,
        k12FPS,
        k16FPS,
        k20FPS,
        k40FPS,
        k75FPS,
        k80FPS,
        k100FPS,
        k120FPS,
        k125FPS,
        k150FPS,
        k200FPS,
        k240FPS,
        k250FPS,
        k300FPS,
        k375FPS,
        k400FPS,
        k500FPS,
        k600FPS,
        k750FPS,
        k1200FPS,
        k1500FPS,
        k2000FPS,
        k3000FPS,
        k6000FPS,
        k23_976FPS,
        k29_97FPS,
        k29_97DF,
        k47_952FPS,
        k59_94FPS,
        k44100FPS,
        k48000FPS,
        k90FPS,
#if MAYA_API_VERSION >= 20240000
        k119_88FPS,
#endif
        kUserDef,
        kLast,

        k15FPS = kGames,
        k24FPS = kFilm,
        k25FPS = kPALFrame,
        k30FPS = kNTSCFrame,
        k48FPS = kShowScan,
        k50FPS = kPALField,
        k60FPS = kNTSCField,
    };

    // A zero time in the UI unit.
    MTime();
    MTime(const MTime& src);
    MTime(double value, Unit unitSystem = kFilm);
    ~MTime();

    MTime& operator=(const MTime& src);

    Unit unit() const;
    double value() const;
    MStatus setUnit(Unit newUnit);
    MStatus setValue(double newValue);
    double as(Unit unitSystem) const;
    double asUnits(Unit unitSystem) const;

    // Unit of time values given without one; process-wide, starts as kFilm.
    static Unit uiUnit();
    static MStatus setUIUnit(Unit newUnit);

    bool operator==(const MTime& other) const;
    bool operator!=(const MTime& other) const;
    bool operator>=(const MTime& other) const;
    bool operator<=(const MTime& other) const;
    bool operator>(const MTime& other) const;
    bool operator<(const MTime& other) const;
    MTime operator+(const MTime& other) const;
    MTime operator+(double other) const;
    MTime& operator+=(const MTime& other);
    MTime& operator+=(double other);
    MTime operator-(const MTime& other) const;
    MTime operator-(double other) const;
    MTime& operator-=(const MTime& other);
    MTime& operator-=(double other);
    MTime operator*(double factor) const;
    MTime& operator*=(double factor);
    MTime operator/(double factor) const;
    MTime& operator/=(double factor);

private:
    double value_ = 0.0;
    Unit unit_ = kFilm;
};

std::ostream& operator<<(std::ostream& out, const MTime& time);

OPENMAYA_NAMESPACE_CLOSE
