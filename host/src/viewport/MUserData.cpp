#include <maya/MUserData.h>

MUserData::MUserData() : deleteAfterUse_(false) {}

MUserData::MUserData(bool deleteAfterUse) : deleteAfterUse_(deleteAfterUse) {}

MUserData::~MUserData() = default;

bool MUserData::deleteAfterUse() {
    return deleteAfterUse_;
}

void MUserData::setDeleteAfterUse(bool deleteAfterUse) {
    deleteAfterUse_ = deleteAfterUse;
}
