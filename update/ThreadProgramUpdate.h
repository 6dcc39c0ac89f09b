#pragma once

#include <cstdint>

#include "app/toolkit/Thread.h"
#include "update/ProgramUpdate.h"

// What the update thread shows, called on the user-interface thread through its synchronised
// calls.
class CUpdateScreen {
public:
    virtual ~CUpdateScreen() = default;
    virtual void SetProgressMaximum(std::uint64_t maximum) = 0;
    virtual void StepProgress(std::uint64_t step) = 0;
    virtual void UpdateEnded(const CUpdateResult& result) = 0;
};

// Downloads and installs the offered version on its own thread. Terminate stops it between
// files and chunks, and ends a call in flight within a tenth of a second.
class ThreadProgramUpdate : public TThread, private CUpdateObserver {
public:
    ThreadProgramUpdate(const CRemoteService& service, COffer offer, CUpdateSettings settings,
                        CUpdateScreen& screen)
        : service_(service),
          offer_(std::move(offer)),
          settings_(std::move(settings)),
          screen_(screen) {}

protected:
    void Execute() override;

private:
    void PackRead(std::uint64_t total) override;
    void Advance(std::uint64_t step) override;
    bool StopRequested() const override { return Terminated(); }

    const CRemoteService& service_;
    COffer offer_;
    CUpdateSettings settings_;
    CUpdateScreen& screen_;
};
