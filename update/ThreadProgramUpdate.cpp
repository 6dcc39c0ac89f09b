#include "update/ThreadProgramUpdate.h"

void ThreadProgramUpdate::Execute() {
    const CUpdateResult result = RunProgramUpdate(service_, offer_, settings_, *this);
    // A stopped update has been told about by whoever stopped it.
    if (result.outcome != UpdateOutcome::Stopped) Synchronize([&] { screen_.UpdateEnded(result); });
}

void ThreadProgramUpdate::PackRead(std::uint64_t total) {
    Synchronize([&] { screen_.SetProgressMaximum(total); });
}

void ThreadProgramUpdate::Advance(std::uint64_t step) {
    Synchronize([&] { screen_.StepProgress(step); });
}
