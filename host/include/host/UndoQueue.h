#pragma once

#include <maya/MStatus.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The host's undo queue: host commands and undoable plug-in commands, in the order they ran.
namespace host {

class UndoableAction {
public:
    virtual ~UndoableAction() = default;
    virtual MStatus undo() = 0;
    virtual MStatus redo() = 0;
    virtual std::string description() const = 0;
};

class UndoQueue {
public:
    static UndoQueue& instance();

    // Records an action that has just been done; drops everything that could be redone.
    void push(std::unique_ptr<UndoableAction> action);
    // Undoes the newest done action; kFailure when there is none.
    MStatus undo(std::string* description = nullptr);
    // Redoes the newest undone action; kFailure when there is none.
    MStatus redo(std::string* description = nullptr);
    void clear();
    std::size_t undoCount() const { return done_.size(); }
    std::size_t redoCount() const { return undone_.size(); }

private:
    std::vector<std::unique_ptr<UndoableAction>> done_;
    std::vector<std::unique_ptr<UndoableAction>> undone_;
};

}  // namespace host
