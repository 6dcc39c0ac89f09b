#pragma once

#include <QWidget>
#include <chrono>

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
// once by "Опитати", or one meter by typed number. The polling thread does the reading and
// fills the tables through the CPollingScreen calls.
class TFrameLoraDevicePolling : public QWidget, public CPollingScreen {
public:
    TFrameLoraDevicePolling(QWidget* parent, CScreenHost& host);
    ~TFrameLoraDevicePolling() override;

    // The stored meters afresh, each kind's table and count; a list that cannot be read is
    // said in a box.
    void RefillTables();
    bool Polling() const { return thread_ != nullptr && !thread_->Finished(); }

    void PanelButtonDevicePollingClick();
    // Waits for the exchange under way to end; does nothing while idle.
    void PanelButtonDeviceStopPollingClick();
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
    void ShowMeterRow(int kind, int row, const std::vector<CMeterCell>& cells) override;
    void ShowByNumberValues(const std::vector<std::string>& values) override;
    void PollingFinished(const CPollFailures& failures) override;

    TStringGrid* MeterTable(int kind) const { return meterTables_[kind]; }

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
    QTabWidget* PageControl;
    QTabWidget* PageControlSaveDevice;
    TStringGrid* TableDeviceHeatList;
    TStringGrid* TableDeviceWaterColdList;
    TStringGrid* TableDeviceWaterHotList;
    QLineEdit* DeviceNumberEdit;
    QComboBox* DeviceTypeComboBox;
    TStringGrid* TableDeviceData;
    TTimer TimerRunning;

private:
    QWidget* BuildRightMenu();
    QWidget* BuildSavedTab();
    QWidget* BuildByNumberTab();
    void SetByNumberLabels(int family);
    void ShowCounts(int heat, int cold, int hot);
    void TableDeviceHeatListDrawCell(TStringGrid& table, QPainter& painter, int col, int row,
                                     const QRect& rect, bool selected);
    void TableDeviceDataDrawCell(QPainter& painter, int col, int row, const QRect& rect);

    CScreenHost& host_;
    TStringGrid* meterTables_[3];
    TThreadPtr<ThreadLoraDevicePolling> thread_;
    std::chrono::steady_clock::time_point started_;
};

extern TFrameLoraDevicePolling* FrameLoraDevicePolling;
