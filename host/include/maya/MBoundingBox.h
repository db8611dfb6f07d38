#pragma once

#include <maya/MApiNamespace.h>
#include <maya/MMatrix.h>
#include <maya/MPoint.h>

OPENMAYA_MAJOR_NAMESPACE_OPEN

// Axis-aligned box; an empty box contains nothing until a point expands it.
class MBoundingBox {
public:
    MBoundingBox();
    MBoundingBox(const MBoundingBox& other);
    MBoundingBox(const MPoint& corner1, const MPoint& corner2);
    ~MBoundingBox();

    MBoundingBox& operator=(const MBoundingBox& other);

    void clear();
    void expand(const MPoint& point);
    void expand(const MBoundingBox& box);
    bool contains(const MPoint& point) const;
    bool intersects(const MBoundingBox& box, double tolerance = 0.0) const;
    double width() const;
    double height() const;
    double depth() const;
    MPoint center() const;
    MPoint min() const;
    MPoint max() const;
    // Replaces the box by the box around its eight transformed corners.
    void transformUsing(const MMatrix& matrix);

private:
    MPoint min_;
    MPoint max_;
    bool empty_ = true;
};

OPENMAYA_NAMESPACE_CLOSE
