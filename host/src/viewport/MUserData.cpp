#include <maya/MUserData.h>

MUserData::MUserData(bool deleteAfterUse) : deleteAfterUse_(deleteAfterUse) {}

MUserData::~MUserData() = default;

bool MUserData::deleteAfterUse() const {
    return deleteAfterUse_;
}

void MUserData::setDeleteAfterUse(bool deleteAfterUse) {
    deleteAfterUse_ = deleteAfterUse;
}
