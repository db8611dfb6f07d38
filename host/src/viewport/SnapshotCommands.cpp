#include <host/Commands.h>
#include <host/Scene.h>
#include <host/Textures.h>
#include <host/Viewport.h>

#include <maya/MArgDatabase.h>
#include <maya/MIntArray.h>
#include <maya/MPxCommand.h>

#include "image/PngWriter.h"

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

    // Writes the texture the node drew at the latest refresh: raw RGBA bytes in texture row
    // order for a ".rgba" path, a PNG (texture row 0 on top) otherwise. The result is the
    // width and the height.
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
        if (!readTexturePixels(latestTexture(node), &width, &height, &pixels)) {
            return failWith("textureDump: " + name + " drew no live texture at the latest refresh");
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
