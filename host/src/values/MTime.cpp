#include <maya/MTime.h>

#include <atomic>
#include <ostream>

namespace {

// Ticks per unit, with a tick small enough that every unit is a whole number of ticks, so
// converting a whole count of one unit into another rounds only once.
constexpr double kTicksPerSecond = 141120000.0;

double ticksPerUnit(MTime::Unit unit) {
    constexpr double kNtsc = 1001.0;  // the NTSC rates are the whole rates times 1000/1001
    switch (unit) {
        case MTime::kHours:
            return 3600.0 * kTicksPerSecond;
        case MTime::kMinutes:
            return 60.0 * kTicksPerSecond;
        case MTime::kSeconds:
            return kTicksPerSecond;
        case MTime::kMilliseconds:
            return kTicksPerSecond / 1000.0;
        case MTime::kGames:
            return kTicksPerSecond / 15.0;
        case MTime::kFilm:
            return kTicksPerSecond / 24.0;
        case MTime::kPALFrame:
            return kTicksPerSecond / 25.0;
        case MTime::kNTSCFrame:
            return kTicksPerSecond / 30.0;
        case MTime::kShowScan:
            return kTicksPerSecond / 48.0;
        case MTime::kPALField:
            return kTicksPerSecond / 50.0;
        case MTime::kNTSCField:
            return kTicksPerSecond / 60.0;
        case MTime::k2FPS:
            return kTicksPerSecond / 2.0;
        case MTime::k3FPS:
            return kTicksPerSecond / 3.0;
        case MTime::k4FPS:
            return kTicksPerSecond / 4.0;
        case MTime::k5FPS:
            return kTicksPerSecond / 5.0;
        case MTime::k6FPS:
            return kTicksPerSecond / 6.0;
        case MTime::k8FPS:
            return kTicksPerSecond / 8.0;
        case MTime::k10FPS:
            return kTicksPerSecond / 10.0;
        case MTime::k12FPS:
            return kTicksPerSecond / 12.0;
        case MTime::k16FPS:
            return kTicksPerSecond / 16.0;
        case MTime::k20FPS:
            return kTicksPerSecond / 20.0;
        case MTime::k40FPS:
            return kTicksPerSecond / 40.0;
        case MTime::k75FPS:
            return kTicksPerSecond / 75.0;
        case MTime::k80FPS:
            return kTicksPerSecond / 80.0;
        case MTime::k100FPS:
            return kTicksPerSecond / 100.0;
        case MTime::k120FPS:
            return kTicksPerSecond / 120.0;
        case MTime::k125FPS:
            return kTicksPerSecond / 125.0;
        case MTime::k150FPS:
            return kTicksPerSecond / 150.0;
        case MTime::k200FPS:
            return kTicksPerSecond / 200.0;
        case MTime::k240FPS:
            return kTicksPerSecond / 240.0;
        case MTime::k250FPS:
            return kTicksPerSecond / 250.0;
        case MTime::k300FPS:
            return kTicksPerSecond / 300.0;
        case MTime::k375FPS:
            return kTicksPerSecond / 375.0;
        case MTime::k400FPS:
            return kTicksPerSecond / 400.0;
        case MTime::k500FPS:
            return kTicksPerSecond / 500.0;
        case MTime::k600FPS:
            return kTicksPerSecond / 600.0;
        case MTime::k750FPS:
            return kTicksPerSecond / 750.0;
        case MTime::k1200FPS:
            return kTicksPerSecond / 1200.0;
        case MTime::k1500FPS:
            return kTicksPerSecond / 1500.0;
        case MTime::k2000FPS:
            return kTicksPerSecond / 2000.0;
        case MTime::k3000FPS:
            return kTicksPerSecond / 3000.0;
        case MTime::k6000FPS:
            return kTicksPerSecond / 6000.0;
        case MTime::k23_976FPS:
            return kTicksPerSecond * kNtsc / 24000.0;
        case MTime::k29_97FPS:
            return kTicksPerSecond * kNtsc / 30000.0;
        case MTime::k29_97DF:
            return kTicksPerSecond * kNtsc / 30000.0;
        case MTime::k47_952FPS:
            return kTicksPerSecond * kNtsc / 48000.0;
        case MTime::k59_94FPS:
            return kTicksPerSecond * kNtsc / 60000.0;
        case MTime::k44100FPS:
            return kTicksPerSecond / 44100.0;
        case MTime::k48000FPS:
            return kTicksPerSecond / 48000.0;
        case MTime::k90FPS:
            return kTicksPerSecond / 90.0;
#if MAYA_API_VERSION >= 20240000
        case MTime::k119_88FPS:
            return kTicksPerSecond * kNtsc / 120000.0;
#endif
        case MTime::kInvalid:
        case MTime::kUserDef:
        case MTime::kLast:
            break;
    }
    return 0.0;
}

bool isValidUnit(MTime::Unit unit) {
    // A user-defined rate is set in Maya's preferences, which this host does not have.
    return unit > MTime::kInvalid && unit < MTime::kUserDef;
}

std::atomic<MTime::Unit>& uiUnitSetting() {
    static std::atomic<MTime::Unit> unit{MTime::kFilm};
    return unit;
}

double ticksOf(const MTime& time) {
    return time.value() * ticksPerUnit(time.unit());
}

}  // namespace

MTime::MTime() : unit_(uiUnit()) {}
MTime::MTime(const MTime& src) = default;
MTime::MTime(double value, Unit unitSystem) : value_(value), unit_(unitSystem) {}
MTime::~MTime() = default;

MTime& MTime::operator=(const MTime& src) = default;

MTime::Unit MTime::unit() const {
    return unit_;
}
double MTime::value() const {
    return value_;
}

MStatus MTime::setUnit(Unit newUnit) {
    if (!isValidUnit(newUnit)) {
        return MStatus::kInvalidParameter;
    }
    unit_ = newUnit;
    return MStatus::kSuccess;
}

MStatus MTime::setValue(double newValue) {
    value_ = newValue;
    return MStatus::kSuccess;
}

double MTime::as(Unit unitSystem) const {
    const double target = ticksPerUnit(unitSystem);
    if (target == 0.0) {
        return 0.0;
    }
    return unitSystem == unit_ ? value_ : ticksOf(*this) / target;
}

double MTime::asUnits(Unit unitSystem) const {
    return as(unitSystem);
}

MTime::Unit MTime::uiUnit() {
    return uiUnitSetting().load();
}

MStatus MTime::setUIUnit(Unit newUnit) {
    if (!isValidUnit(newUnit)) {
        return MStatus::kInvalidParameter;
    }
    uiUnitSetting().store(newUnit);
    return MStatus::kSuccess;
}

bool MTime::operator==(const MTime& other) const {
    return ticksOf(*this) == ticksOf(other);
}
bool MTime::operator!=(const MTime& other) const {
    return !(*this == other);
}
bool MTime::operator>=(const MTime& other) const {
    return ticksOf(*this) >= ticksOf(other);
}
bool MTime::operator<=(const MTime& other) const {
    return ticksOf(*this) <= ticksOf(other);
}
bool MTime::operator>(const MTime& other) const {
    return ticksOf(*this) > ticksOf(other);
}
bool MTime::operator<(const MTime& other) const {
    return ticksOf(*this) < ticksOf(other);
}

MTime MTime::operator+(const MTime& other) const {
    return MTime(*this) += other;
}
MTime MTime::operator+(double other) const {
    return MTime(*this) += other;
}
MTime& MTime::operator+=(const MTime& other) {
    return *this += other.as(unit_);
}

MTime& MTime::operator+=(double other) {
    value_ += other;
    return *this;
}

MTime MTime::operator-(const MTime& other) const {
    return MTime(*this) -= other;
}
MTime MTime::operator-(double other) const {
    return MTime(*this) -= other;
}
MTime& MTime::operator-=(const MTime& other) {
    return *this -= other.as(unit_);
}

MTime& MTime::operator-=(double other) {
    value_ -= other;
    return *this;
}

MTime MTime::operator*(double factor) const {
    return MTime(*this) *= factor;
}

MTime& MTime::operator*=(double factor) {
    value_ *= factor;
    return *this;
}

MTime MTime::operator/(double factor) const {
    return MTime(*this) /= factor;
}

MTime& MTime::operator/=(double factor) {
    value_ /= factor;
    return *this;
}

OPENMAYA_MAJOR_NAMESPACE_OPEN

std::ostream& operator<<(std::ostream& out, const MTime& time) {
    return out << time.value();
}

OPENMAYA_NAMESPACE_CLOSE
