#pragma once
// Long work on a thread of its own (a run, an animation) gives way to the window's thread, so
// that the window answers at once also on a machine that other programs keep busy.

namespace Platform {

// Lowers the calling thread's priority below the window's; where the system cannot, nothing.
void YieldToWindow();

} // namespace Platform
