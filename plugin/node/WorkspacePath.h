#pragma once

#include <maya/MString.h>

// Footage paths as Maya's own file nodes read them: a relative path is relative to the
// project, so a scene moved to another machine or a render farm finds its footage in that
// machine's copy of the project. The workspace root is asked for only when the path or the
// frame changes, so that a refresh at a standing frame costs a comparison; a project set
// while the frame stands is seen at the next frame.
class WorkspacePath {
public:
    // The path (environment variables already expanded) with the workspace root in front of it
    // when it is relative; an absolute or empty path as given.
    const MString& resolve(const MString& path, int frame);
    // The root the last relative path was put in; empty until one was.
    const MString& root() const { return root_; }

private:
    MString lastPath;
    int lastFrame = 0;
    bool known = false;
    MString resolved;
    MString root_;
};

// The project's root as Maya gives it, ending with '/'; empty when it cannot be asked. A MEL
// query: for the main thread, outside compute.
MString workspaceRoot();

// The path as footage is read from it: environment variables expanded, then, when relative,
// with `root` in front of it (an empty root leaves it relative, read from the current folder).
MString footagePath(const MString& path, const MString& root);
