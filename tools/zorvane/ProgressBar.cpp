#include "ProgressBar.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int kWidth = 40;

} // namespace

ProgressBar::ProgressBar(bool wanted) : active_(wanted && isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::show(double done, double total)
{
    if (!active_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDrawn_ < std::chrono::milliseconds(100))
        return;
    lastDrawn_ = now;
    drawn_ = true;
    const double share = total > 0.0 ? std::clamp(done / total, 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(share * kWidth);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') + std::string(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%%", bar.c_str(), static_cast<int>(share * 100.0));
    std::fflush(stderr);
}

void ProgressBar::finish()
{
    if (active_ && drawn_) {
        std::fprintf(stderr, "\r%*s\r", kWidth + 8, "");
        std::fflush(stderr);
    }
    drawn_ = false;
}
