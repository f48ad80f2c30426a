#pragma once
// Long work on a thread of its own (a run, an animation) gives way to the window's thread, so
// that the window answers at once also on a machine that other programs keep busy.

namespace Platform {

// For the window's thread: short time slices, so that it takes the processor as soon as input
// arrives, also beside long work and other programs; where the system cannot, nothing.
void AnswerPromptly();

// For a thread of long work: a priority below the window's, and long time slices; where the
// system cannot, nothing.
void YieldToWindow();

} // namespace Platform
