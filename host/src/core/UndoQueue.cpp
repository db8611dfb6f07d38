#include <host/UndoQueue.h>

namespace host {

UndoQueue& UndoQueue::instance() {
    static UndoQueue queue;
    return queue;
}

void UndoQueue::push(std::unique_ptr<UndoableAction> action) {
    undone_.clear();
    done_.push_back(std::move(action));
}

MStatus UndoQueue::undo(std::string* description) {
    if (done_.empty()) {
        return MStatus::kFailure;
    }
    std::unique_ptr<UndoableAction> action = std::move(done_.back());
    done_.pop_back();
    if (description) {
        *description = action->description();
    }
    MStatus status = action->undo();
    undone_.push_back(std::move(action));
    return status;
}

MStatus UndoQueue::redo(std::string* description) {
    if (undone_.empty()) {
        return MStatus::kFailure;
    }
    std::unique_ptr<UndoableAction> action = std::move(undone_.back());
    undone_.pop_back();
    if (description) {
        *description = action->description();
    }
    MStatus status = action->redo();
    done_.push_back(std::move(action));
    return status;
}

void UndoQueue::clear() {
    done_.clear();
    undone_.clear();
}

}  // namespace host
