#pragma once
// The busy pointer and the processing of pending events during a run.

namespace Platform {

void SetBusy(bool busy);
bool IsBusy();

// Processes the pending window events once.
void DoEvents();

} // namespace Platform
