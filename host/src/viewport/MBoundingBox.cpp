#include <maya/MBoundingBox.h>

#include <algorithm>

MBoundingBox::MBoundingBox() = default;

MBoundingBox::MBoundingBox(const MBoundingBox& other) = default;

MBoundingBox::MBoundingBox(const MPoint& corner1, const MPoint& corner2) {
    expand(corner1);
    expand(corner2);
}

MBoundingBox::~MBoundingBox() = default;

MBoundingBox& MBoundingBox::operator=(const MBoundingBox& other) = default;

void MBoundingBox::clear() {
    min_ = MPoint();
    max_ = MPoint();
    empty_ = true;
}

void MBoundingBox::expand(const MPoint& point) {
    MPoint p = point;
    p.cartesianize();
    if (empty_) {
        min_ = p;
        max_ = p;
        empty_ = false;
        return;
    }
    min_ = MPoint(std::min(min_.x, p.x), std::min(min_.y, p.y), std::min(min_.z, p.z));
    max_ = MPoint(std::max(max_.x, p.x), std::max(max_.y, p.y), std::max(max_.z, p.z));
}

void MBoundingBox::expand(const MBoundingBox& box) {
    if (!box.empty_) {
        expand(box.min_);
        expand(box.max_);
    }
}

bool MBoundingBox::contains(const MPoint& point) const {
    return !empty_ && point.x >= min_.x && point.x <= max_.x && point.y >= min_.y &&
           point.y <= max_.y && point.z >= min_.z && point.z <= max_.z;
}

bool MBoundingBox::intersects(const MBoundingBox& box, double tolerance) const {
    if (empty_ || box.empty_) {
        return false;
    }
    return min_.x <= box.max_.x + tolerance && box.min_.x <= max_.x + tolerance &&
           min_.y <= box.max_.y + tolerance && box.min_.y <= max_.y + tolerance &&
           min_.z <= box.max_.z + tolerance && box.min_.z <= max_.z + tolerance;
}

double MBoundingBox::width() const {
    return max_.x - min_.x;
}

double MBoundingBox::height() const {
    return max_.y - min_.y;
}

double MBoundingBox::depth() const {
    return max_.z - min_.z;
}

MPoint MBoundingBox::center() const {
    return MPoint((min_.x + max_.x) / 2, (min_.y + max_.y) / 2, (min_.z + max_.z) / 2);
}

MPoint MBoundingBox::min() const {
    return min_;
}

MPoint MBoundingBox::max() const {
    return max_;
}

void MBoundingBox::transformUsing(const MMatrix& matrix) {
    if (empty_) {
        return;
    }
    const MPoint low = min_;
    const MPoint high = max_;
    clear();
    for (int corner = 0; corner < 8; ++corner) {
        const MPoint point((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                           (corner & 4) ? high.z : low.z);
        expand(point * matrix);
    }
}
