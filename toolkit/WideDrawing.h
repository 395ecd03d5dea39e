#pragma once

// The drawing's AVX2 paths: taken where the processor has AVX2 and not turned off. Every path
// gives the bits of the plain arithmetic, so the choice changes only speed.
namespace pengui::wide_drawing {

// Whether this build and this processor offer the AVX2 paths.
bool available();
// Whether drawing takes them: available, and not turned off. Editor thread; no system call.
bool enabled();
// Turns the AVX2 paths off (or back on where available): tests compare the paths' bits with it.
void setEnabled(bool enabled);

} // namespace pengui::wide_drawing
