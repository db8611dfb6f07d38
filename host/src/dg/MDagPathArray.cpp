#include <maya/MDagPathArray.h>

MDagPathArray::MDagPathArray() = default;
MDagPathArray::MDagPathArray(const MDagPathArray& other) = default;
MDagPathArray::MDagPathArray(unsigned int initialSize, const MDagPath& initialValue)
    : values_(initialSize, initialValue) {}
MDagPathArray::~MDagPathArray() = default;

MDagPathArray& MDagPathArray::operator=(const MDagPathArray& other) = default;

const MDagPath& MDagPathArray::operator[](unsigned int index) const {
    return values_[index];
}

MDagPath& MDagPathArray::operator[](unsigned int index) {
    return values_[index];
}

MStatus MDagPathArray::set(const MDagPath& element, unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_[index] = element;
    return MStatus::kSuccess;
}

MStatus MDagPathArray::setLength(unsigned int length) {
    values_.resize(length);
    return MStatus::kSuccess;
}

unsigned int MDagPathArray::length() const {
    return static_cast<unsigned int>(values_.size());
}

MStatus MDagPathArray::remove(unsigned int index) {
    if (index >= values_.size()) {
        return MStatus::kFailure;
    }
    values_.erase(values_.begin() + index);
    return MStatus::kSuccess;
}

MStatus MDagPathArray::insert(const MDagPath& element, unsigned int index) {
    if (index > values_.size()) {
        return MStatus::kFailure;
    }
    values_.insert(values_.begin() + index, element);
    return MStatus::kSuccess;
}

MStatus MDagPathArray::append(const MDagPath& element) {
    values_.push_back(element);
    return MStatus::kSuccess;
}

MStatus MDagPathArray::copy(const MDagPathArray& source) {
    values_ = source.values_;
    return MStatus::kSuccess;
}

MStatus MDagPathArray::clear() {
    values_.clear();
    return MStatus::kSuccess;
}
