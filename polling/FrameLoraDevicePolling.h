#pragma once

#include <QWidget>
#include <chrono>

#include "app/ScreenTour.h"
#include "app/toolkit/Thread.h"
#include "app/toolkit/Timer.h"
#include "polling/PollingScreen.h"
#include "polling/ThreadLoraDevicePolling.h"

class CScreenHost;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class TPanelButton;
class TStringGrid;

// Where meters are read: the stored meters of each kind in a table of their own, read all at
// once by "Опитати" (F5), or one meter by typed number. The polling thread does the reading and
// fills the tables through the CPollingScreen calls; the row being read is marked and counted
// beside the elapsed time. Stop shows "Зупинка…" until the run has ended, which is at once:
// the exchange under way is abandoned. Escape is "Назад".
class TFrameLoraDevicePolling : public QWidget, public CPollingScreen, public CTourStops {
public:
    TFrameLoraDevicePolling(QWidget* parent, CScreenHost& host);
    ~TFrameLoraDevicePolling() override;

    // The stored meters afresh, each kind's table and count; a list that cannot be read is
    // said in a box.
    void RefillTables();
    // From Start until the run's end has been shown, stopping included.
    bool Polling() const { return state_ != PollState::Idle; }
    bool Stopping() const { return state_ == PollState::Stopping; }

    void PanelButtonDevicePollingClick();
    // Asks the run to end and shows "Зупинка…" until it has; does nothing while idle.
    void PanelButtonDeviceStopPollingClick();
    // Stops a run and waits for its end, so the link is free afterwards: "Назад" and closing
    // the window.
    void EndPolling();
    void TimerRunningTimer();
    void PageControlChange();
    // The meter add form over this screen, with the number typed for the read.
    void PanelButonAddClick();
    void DeviceTypeComboBoxChange();

    // CPollingScreen, on the user-interface thread.
    bool ByNumberTabShown() override;
    int SavedKindTab() override;
    int ByNumberFamily() override;
    std::string TypedNumber() override;
    void ShowReadingRow(int kind, int row, int count) override;
    void ShowMeterRow(int kind, int row, const std::vector<CMeterCell>& cells) override;
    void ShowByNumberValues(const std::vector<std::string>& values) override;
    void ShowNoAnswer() override;
    void PollingFinished(const CPollFailures& failures) override;

    TStringGrid* MeterTable(int kind) const { return meterTables_[kind]; }

    // CTourStops: a walk under way on the heat and the cold-water tab, a read by number that
    // got no answer.
    int TourStopCount() const override;
    QString ShowTourStop(int stop) override;

    QWidget* Background;
    QWidget* RightMenu;
    TPanelButton* PanelButtonDevicePolling;
    TPanelButton* PanelButtonDeviceStopPolling;
    TPanelButton* PanelButonAdd;
    TPanelButton* PanelButtonBack;
    QGroupBox* GroupBoxStatistics;
    QLabel* CountDeviceHeatValue;
    QLabel* CountDeviceWaterColdValue;
    QLabel* CountDeviceWaterHotValue;
    QLabel* PollTimeValue;
    QLabel* PollProgressValue;  // "N з M" of the stored meters' walk
    QTabWidget* PageControl;
    QTabWidget* PageControlSaveDevice;
    TStringGrid* TableDeviceHeatList;
    TStringGrid* TableDeviceWaterColdList;
    TStringGrid* TableDeviceWaterHotList;
    QLineEdit* DeviceNumberEdit;
    QComboBox* DeviceTypeComboBox;
    QLabel* LabelNoAnswer;
    TStringGrid* TableDeviceData;
    TTimer TimerRunning;

private:
    enum class PollState { Idle, Polling, Stopping };

    QWidget* BuildRightMenu();
    QWidget* BuildSavedTab();
    QWidget* BuildByNumberTab();
    void SetByNumberLabels(int family);
    void ShowCounts(int heat, int cold, int hot);
    void ClearByNumberValues();
    void TableDeviceHeatListDrawCell(TStringGrid& table, QPainter& painter, int col, int row,
                                     const QRect& rect, bool selected);
    void TableDeviceDataDrawCell(QPainter& painter, int col, int row, const QRect& rect);

    CScreenHost& host_;
    TStringGrid* meterTables_[3];
    TThreadPtr<ThreadLoraDevicePolling> thread_;
    PollState state_ = PollState::Idle;
    std::chrono::steady_clock::time_point started_;
    // The row being read in the kind's table, or none (-1).
    int readingKind_ = -1;
    int readingRow_ = -1;
};

extern TFrameLoraDevicePolling* FrameLoraDevicePolling;
