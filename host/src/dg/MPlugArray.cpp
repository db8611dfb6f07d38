#include <maya/MPlugArray.h>

MPlugArray::MPlugArray() = default;
MPlugArray::MPlugArray(const MPlugArray& other) = default;
MPlugArray::MPlugArray(unsigned int initialSize, const MPlug& initialValue)
    : values_(initialSize, initialValue) {}
MPlugArray::~MPlugArray() = default;

MPlugArray& MPlugArray::operator=(const MPlugArray& other) = default;

const MPlug& MPlugArray::operator[](unsigned int index) const {
    return values_[index];
}

MPlug& MPlugArray::operator[](unsigned int index) {
    return values_[index];
}

MStatus MPlugArray::set(const MPlug& element, unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_[index] = element;
    return MStatus::kSuccess;
}

MStatus MPlugArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MPlugArray::length() const {
    return static_cast<unsigned int>(values_.size());
}

MStatus MPlugArray::remove(unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_.erase(values_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MPlugArray::insert(const MPlug& element, unsigned int index) {
    if (index > values_.size()) {
        return MStatus::kFailure;
    }
    values_.insert(values_.begin() + index, element);
    return MStatus::kSuccess;
}

MStatus MPlugArray::append(const MPlug& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MPlugArray::copy(const MPlugArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MPlugArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}
