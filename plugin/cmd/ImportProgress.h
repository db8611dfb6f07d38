#pragma once

#include <string>

// How a long import shows its progress while a worker does the work: Maya's progress window,
// which the user can interrupt, in an interactive session; in batch, where there is no window,
// one line per tenth done. Called on the main thread only; the window goes when this does.
class ImportProgress {
public:
    // `what` says what is being done, as in "Reading the sound of shot.mov".
    explicit ImportProgress(const std::string& what);
    ~ImportProgress();
    ImportProgress(const ImportProgress&) = delete;
    ImportProgress& operator=(const ImportProgress&) = delete;

    // Shows how far the work is, 0 to 100.
    void show(int percent);
    // Whether the user asked to stop (never in batch).
    bool cancelled() const;

private:
    std::string what_;
    bool window_ = false;
    int shown_ = 0;
};
