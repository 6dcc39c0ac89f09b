#pragma once

#include <QWidget>
#include <chrono>
#include <functional>

#include "app/ScreenTour.h"
#include "update/ThreadProgramUpdate.h"
#include "update/VersionCheck.h"

class QLabel;
class QProgressBar;
class TPanelButton;

// The update screen: it lies under every other screen, shows while the start-up check runs,
// and, once the operator accepted a new version, the download's progress with "Перервати".
class TFrameUpdate : public QWidget, public CUpdateScreen, public CTourStops {
public:
    TFrameUpdate(QWidget* parent, const CProgramInfo& info, CGatewayAddress gateway,
                 CUpdateSettings settings = DefaultUpdateSettings());
    ~TFrameUpdate() override;

    // The start-up check: asks the service, and the operator about the newest newer version.
    // True when an update was started; otherwise the screen is hidden. While the service keeps
    // it waiting, `window` is shown and keeps painting, but takes no input. A program that is
    // not its working folder's own file asks nothing.
    bool CheckForUpdate(QWidget& window);
    void StartUpdate(const COffer& offer);
    void Panel1Click();
    void SetCheckDeadline(std::chrono::milliseconds deadline) { checkDeadline_ = deadline; }

    // The update ended without installing anything: the host shows the main screen.
    std::function<void()> OnCarryOn;

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    TPanelButton* Panel1;

    // CUpdateScreen
    void SetProgressMaximum(std::uint64_t maximum) override;
    void StepProgress(std::uint64_t step) override;
    void UpdateEnded(const CUpdateResult& result) override;

    // CTourStops: the screen with a download half done.
    int TourStopCount() const override { return 1; }
    QString ShowTourStop(int stop) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FrameResize();
    void CarryOn();

    CRemoteService service_;
    CUpdateSettings settings_;
    std::chrono::milliseconds checkDeadline_ = kStartupCheckDeadline;
    TThreadPtr<ThreadProgramUpdate> thread_;
    bool ended_ = false;  // the thread has reported its end
};

extern TFrameUpdate* FrameUpdate;
