#pragma once

#include <host/DrawRecording.h>
#include <host/RgbaPicture.h>

#include <maya/MMatrix.h>

#include <vector>

// The host's software renderer: recorded UI drawing seen through a camera.
namespace host {

// The camera film fit, as the camera's "filmFit" attribute numbers it.
enum class FilmFit { Fill = 0, Horizontal = 1, Vertical = 2, Overscan = 3 };

// What the renderer needs to know of a camera.
struct CameraView {
    MMatrix cameraToWorld;  // the camera transform's world matrix; the camera looks down -Z
    bool orthographic = false;
    double focalLength = 35.0;  // millimetres
    double filmWidth = 36.0;    // millimetres (orthographic: the view width)
    double filmHeight = 24.0;   // millimetres (orthographic: width / film aspect)
    FilmFit filmFit = FilmFit::Fill;
    double nearClip = 0.1;
    double farClip = 10000.0;
};

// The part of the film plane that becomes the picture, for a picture of the given aspect
// (width over height), in the units of filmWidth and filmHeight.
struct RenderFrame {
    double width = 0;
    double height = 0;
};

RenderFrame renderFrame(const CameraView& camera, double pictureAspect);

// The recorded drawing of one node and where the node is.
struct DrawnNode {
    MMatrix worldMatrix;
    std::vector<DrawCall> calls;
};

// Draws the triangles of every node as seen through the camera: perspective from the focal
// length and film, the render frame (for frameAspect, width over height) filling the
// picture, a depth test, textures sampled as recorded. The background is dark grey.
RgbaPicture renderScene(const CameraView& camera, double frameAspect, int width, int height,
                        const std::vector<DrawnNode>& nodes);

}  // namespace host
