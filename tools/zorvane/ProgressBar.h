#pragma once

#include <chrono>

// A progress bar on standard error, shown only when standard error is a terminal.
class ProgressBar {
public:
    explicit ProgressBar(bool wanted);
    ~ProgressBar();

    // Shows `done` of `total`; redraws at most ten times a second.
    void show(double done, double total);
    // Removes the bar.
    void finish();

private:
    bool active_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};
