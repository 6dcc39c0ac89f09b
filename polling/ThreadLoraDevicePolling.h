#pragma once

#include <memory>

#include "app/toolkit/Thread.h"
#include "database/models/DataHeat.h"
#include "database/models/DataWater.h"
#include "polling/PollFailures.h"

class CDataPackage;
class CDevice;
class CPollingScreen;
class CProcessComPort;
class CSQLite3Controller;
class CTelegram;

// Reads meters on a worker thread: every stored meter of the kind whose tab is showing, one
// after the other, or the one meter whose number was typed. Good readings of stored meters are
// stored; each result is shown through a synchronised call, "OK" only once it is stored. What
// went wrong with local.db (a meter list unread, readings not stored) is said when the run ends.
// Terminate wakes the exchange under way: it is abandoned, its meter's row left as it was, and
// the run ends without another request.
class ThreadLoraDevicePolling : public TThread {
public:
    // The database and the screen must outlive the thread's run, the link the thread object:
    // deleting it terminates it, which wakes the link.
    ThreadLoraDevicePolling(CProcessComPort& link, CSQLite3Controller& database,
                            CPollingScreen& screen);

protected:
    void Execute() override;
    void TerminatedSet() override;

private:
    void PollSavedMeters();
    void PollHeatMeters() { PollMetersOfKind(0); }
    void PollColdWaterMeters() { PollMetersOfKind(1); }
    void PollHotWaterMeters() { PollMetersOfKind(2); }
    void PollMetersOfKind(int kind);
    // Sends the request and receives the reply into `reply`; false when the run has been
    // stopped, before or meanwhile, and the reply is not to be looked at.
    bool Exchange(const CDataPackage& request, CDataPackage& reply);
    // True when the reply was this meter's and its reading is stored (now or before).
    bool TakeMeterReading(CTelegram& telegram, const CDevice& meter);
    void PollByNumber();

    void ShowRowRead();
    void ShowRowError();
    void ShowHeatByNumber();
    void ShowWaterByNumber();
    void ShowPollingFinished();

    // Reads of the screen's controls, made on the user-interface thread.
    bool ByNumberTabShown();
    int SavedKindTab();

    CProcessComPort& link_;
    CSQLite3Controller& database_;
    CPollingScreen& screen_;

    int CurrentRow = 0;
    std::unique_ptr<CDataHeat> heat_;
    std::unique_ptr<CDataWater> water_;
    int PollKind = 0;
    CPollFailures failures_;
};
