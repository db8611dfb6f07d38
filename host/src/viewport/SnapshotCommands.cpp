#include <host/Commands.h>
#include <host/Scene.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <maya/MArgDatabase.h>
#include <maya/MIntArray.h>
#include <maya/MPxCommand.h>

#include "image/PngWriter.h"
#include "render/HalfFloat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

// snapshot and textureDump: pictures of what the viewport drew, for tests.
namespace host {
namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool writeRawBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Half-float texels as bytes for a picture: clamped to 0..1 and rounded.
std::vector<std::uint8_t> halfFloatAsBytes(const std::vector<std::uint8_t>& texels) {
    std::vector<std::uint8_t> bytes(texels.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::uint16_t half = 0;
        std::memcpy(&half, texels.data() + i * 2, sizeof half);
        const float value = std::clamp(fromHalf(half), 0.0f, 1.0f);
        bytes[i] = static_cast<std::uint8_t>(std::lround(value * 255.0f));
    }
    return bytes;
}

MStatus failWith(const MString& message) {
    MPxCommand::displayError(message);
    return MStatus::kFailure;
}

class SnapshotCommand : public MPxCommand {
public:
    static void* creator() { return new SnapshotCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-c", "-camera", MSyntax::kString);
        syntax.addFlag("-w", "-width", MSyntax::kLong);
        syntax.addFlag("-h", "-height", MSyntax::kLong);
        syntax.addFlag("-f", "-file", MSyntax::kString);
        return syntax;
    }

    // Refreshes through the camera, renders at the size (defaultResolution's by default) and
    // writes a PNG file. The result is the file's path.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isFlagSet("-file")) {
            return failWith("snapshot: -file is required");
        }
        const MString file = parsed.flagArgumentString("-file", 0);
        MDagPath camera = lookThroughCamera();
        if (parsed.isFlagSet("-camera")) {
            const MString name = parsed.flagArgumentString("-camera", 0);
            if (!findCamera(name, camera)) {
                return failWith("snapshot: " + name + " is not a camera");
            }
        }
        int width = 0;
        int height = 0;
        renderResolution(width, height);
        if (parsed.isFlagSet("-width")) {
            width = parsed.flagArgumentInt("-width", 0);
        }
        if (parsed.isFlagSet("-height")) {
            height = parsed.flagArgumentInt("-height", 0);
        }
        RgbaPicture picture;
        if (!snapshot(camera, width, height, picture)) {
            return failWith("snapshot: cannot render that picture");
        }
        if (!writeRgbaPng(file.asChar(), picture.pixels.data(), picture.width, picture.height,
                          RowOrder::TopFirst)) {
            return failWith("snapshot: cannot write " + file);
        }
        setResult(file);
        return MStatus::kSuccess;
    }
};

class TextureDumpCommand : public MPxCommand {
public:
    static void* creator() { return new TextureDumpCommand; }
    static MSyntax newSyntax() {
        MSyntax syntax;
        syntax.addFlag("-n", "-node", MSyntax::kString);
        syntax.addFlag("-f", "-file", MSyntax::kString);
        return syntax;
    }

    // Writes the texture the node drew at the latest refresh: its raw RGBA texels in texture row
    // order for a ".rgba" path (4 bytes a texel, or 8 for a half-float texture: four binary16
    // values in the machine's order), an 8-bit PNG (texture row 0 on top, half-float values
    // clamped to 0..1) otherwise. The result is the width and the height.
    MStatus doIt(const MArgList& args) override {
        MArgDatabase parsed(syntax(), args);
        if (!parsed.isFlagSet("-node") || !parsed.isFlagSet("-file")) {
            return failWith("textureDump: -node and -file are required");
        }
        const MString name = parsed.flagArgumentString("-node", 0);
        const std::string file = parsed.flagArgumentString("-file", 0).asChar();
        MObject node;
        if (!findNode(name, node)) {
            return failWith("textureDump: no node " + name);
        }
        MDagPath path;
        if (MDagPath::getAPathTo(node, path) && drawOverrideFor(node) == nullptr) {
            path.extendToShape();
            node = path.node();
        }
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> pixels;
        const MHWRender::MTexture* texture = latestTexture(node);
        if (!readTexturePixels(texture, &width, &height, &pixels)) {
            return failWith("textureDump: " + name + " drew no live texture at the latest refresh");
        }
        if (!endsWith(file, ".rgba") && textureIsHalfFloat(texture)) {
            pixels = halfFloatAsBytes(pixels);
        }
        const bool written = endsWith(file, ".rgba") ? writeRawBytes(file, pixels)
                                                     : writeRgbaPng(file, pixels.data(), width,
                                                                    height, RowOrder::TopFirst);
        if (!written) {
            return failWith(MString("textureDump: cannot write ") + file.c_str());
        }
        MIntArray size;
        size.append(width);
        size.append(height);
        setResult(size);
        return MStatus::kSuccess;
    }
};

const BuiltinCommandRegistrar snapshotCommand("snapshot", SnapshotCommand::creator,
                                              SnapshotCommand::newSyntax);
const BuiltinCommandRegistrar textureDumpCommand("textureDump", TextureDumpCommand::creator,
                                                 TextureDumpCommand::newSyntax);

}  // namespace
}  // namespace host
