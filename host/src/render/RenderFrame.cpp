#include <host/Rendering.h>

namespace host {

RenderFrame renderFrame(const CameraView& camera, double pictureAspect) {
    const double filmAspect = camera.filmWidth / camera.filmHeight;
    bool fitWidth = true;
    switch (camera.filmFit) {
        case FilmFit::Horizontal:
            fitWidth = true;
            break;
        case FilmFit::Vertical:
            fitWidth = false;
            break;
        case FilmFit::Fill:
            // The picture shows film only: the film's narrower side decides.
            fitWidth = pictureAspect >= filmAspect;
            break;
        case FilmFit::Overscan:
            // The whole film is in the picture.
            fitWidth = pictureAspect < filmAspect;
            break;
    }
    RenderFrame frame;
    if (fitWidth) {
        frame.width = camera.filmWidth;
        frame.height = camera.filmWidth / pictureAspect;
    } else {
        frame.height = camera.filmHeight;
        frame.width = camera.filmHeight * pictureAspect;
    }
    return frame;
}

}  // namespace host
