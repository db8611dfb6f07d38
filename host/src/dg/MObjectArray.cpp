#include <maya/MObjectArray.h>

MObjectArray::MObjectArray() = default;
MObjectArray::MObjectArray(const MObjectArray& other) = default;
MObjectArray::MObjectArray(unsigned int initialSize, const MObject& initialValue)
    : values_(initialSize, initialValue) {}
MObjectArray::~MObjectArray() = default;

MObjectArray& MObjectArray::operator=(const MObjectArray& other) = default;

const MObject& MObjectArray::operator[](unsigned int index) const {
    return values_[index];
}

MObject& MObjectArray::operator[](unsigned int index) {
    return values_[index];
}

MStatus MObjectArray::set(const MObject& element, unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_[index] = element;
    return MStatus::kSuccess;
}

MStatus MObjectArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MObjectArray::length() const {
    return static_cast<unsigned int>(values_.size());
}

MStatus MObjectArray::remove(unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_.erase(values_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MObjectArray::insert(const MObject& element, unsigned int index) {
    if (index > values_.size()) {
        return MStatus::kFailure;
    }
    values_.insert(values_.begin() + index, element);
    return MStatus::kSuccess;
}

MStatus MObjectArray::append(const MObject& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MObjectArray::copy(const MObjectArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MObjectArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}
