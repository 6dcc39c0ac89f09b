#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "directory/FrameDeviceAdd.h"
#include "directory/FrameDeviceList.h"
#include "polling/FrameLoraDevicePolling.h"
#include "polling/PollingTables.h"
#include "support/ScriptedDialogs.h"
#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"

namespace {

CSimMeter HeatMeter(unsigned serial) {
    CSimMeter meter;
    meter.serial = serial;
    meter.t1 = "21.50";
    meter.t2 = "18.05";
    meter.clock.now = false;
    meter.clock.year = 2025, meter.clock.month = 3, meter.clock.day = 9, meter.clock.hour = 10;
    return meter;
}

// The whole window on a fresh working directory, with stored meters and the simulator on a
// pseudo-terminal as the connected port.
class PollingScreenTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    CProgramObjects program_;
    CScriptedDialogs dialogs_;
    std::unique_ptr<CMeterSimulator> simulator_;
    std::unique_ptr<TFormVeltara> window_;

    int AddMeter(int kind, int serial, int aid = 0) {
        CDevice device;
        device.serial = serial;
        device.aid = aid;
        return ModelOfKind(*DbController, kind).InsertDevice(device);
    }

    void Connect(std::vector<CSimMeter> meters, CSimLine line = {}) {
        simulator_ = std::make_unique<CMeterSimulator>(std::move(meters), line);
        std::string error;
        ASSERT_TRUE(simulator_->Start(error)) << error;
        window_ = std::make_unique<TFormVeltara>();
        window_->show();
        window_->OpenLink(simulator_->PortPath().c_str(), 9600);
        window_->ShowPollingScreen();
    }

    // Five stored heat meters that answer after 200 ms each; the walk is under way on return.
    void StartSlowWalkOfFive() {
        std::vector<CSimMeter> meters;
        for (int serial = 30000001; serial <= 30000005; ++serial) {
            AddMeter(PollKindHeat, serial);
            meters.push_back(HeatMeter(static_cast<unsigned>(serial)));
        }
        CSimLine slow;
        slow.replyDelayMs = 200;
        Connect(meters, slow);
        FrameLoraDevicePolling->PanelButtonDevicePolling->Click();
        QTest::qWait(100);
    }

    static std::string Cell(int kind, int col, int row) {
        return FrameLoraDevicePolling->MeterTable(kind)->Cell(col, row).toStdString();
    }
    static bool WaitForIdle() {
        return QTest::qWaitFor([] { return !FrameLoraDevicePolling->Polling(); }, 10000);
    }
};

}  // namespace

TEST_F(PollingScreenTest, ConnectListsEveryStoredMeterWithItsApartment) {
    CDataSubscriber apartment;
    apartment.bid = DbController->ObjectModel.InsertObject(CDataObject());
    apartment.no = "42";
    const int aid = DbController->SubscriberModel.InsertSubscriber(apartment);
    AddMeter(PollKindHeat, 1);
    AddMeter(PollKindHeat, 2);
    AddMeter(PollKindWaterHot, 87654321, aid);
    Connect({});

    EXPECT_EQ(FrameLoraDevicePolling->TableDeviceHeatList->RowCount(), 3);
    EXPECT_EQ(Cell(PollKindHeat, 0, 1), "00000001");
    EXPECT_EQ(Cell(PollKindHeat, 0, 0), "Серійний номер");
    EXPECT_EQ(FrameLoraDevicePolling->TableDeviceWaterColdList->RowCount(), 1) << "only the header";
    EXPECT_EQ(Cell(PollKindWaterHot, 0, 1), "87654321");
    EXPECT_EQ(Cell(PollKindWaterHot, 1, 1), "42");
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceHeatValue->text(), "2");
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceWaterColdValue->text(), "0");
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceWaterHotValue->text(), "1");

    FrameLoraDevicePolling->PageControl->setCurrentIndex(1);
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceHeatValue->text(), "1");
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceWaterColdValue->text(), "1");
    EXPECT_TRUE(FrameLoraDevicePolling->PanelButonAdd->isVisible()) << "to add the meter read";
    AddMeter(PollKindWaterCold, 5);
    FrameLoraDevicePolling->PageControl->setCurrentIndex(0);
    EXPECT_FALSE(FrameLoraDevicePolling->PanelButonAdd->isVisible());
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceHeatValue->text(), "2");
    EXPECT_EQ(FrameLoraDevicePolling->CountDeviceWaterColdValue->text(), "1");
}

TEST_F(PollingScreenTest, StartFillsTheRowsAndReturnsToIdleWhenTheWalkEnds) {
    AddMeter(PollKindHeat, 12345678);
    AddMeter(PollKindHeat, 23456789);  // nobody answers to it within the test's patience
    Connect({HeatMeter(12345678)});
    FrameLoraDevicePolling->PanelButtonDevicePolling->Click();
    EXPECT_TRUE(FrameLoraDevicePolling->PanelButtonDeviceStopPolling->isVisible());
    EXPECT_FALSE(FrameLoraDevicePolling->PanelButtonDevicePolling->isVisible());
    EXPECT_TRUE(FrameLoraDevicePolling->TimerRunning.Enabled());
    EXPECT_EQ(FrameLoraDevicePolling->PollTimeValue->text(), "00:00:00");

    ASSERT_TRUE(QTest::qWaitFor([] { return Cell(PollKindHeat, 10, 1) == "OK"; }, 5000));
    EXPECT_EQ(Cell(PollKindHeat, 2, 1), "2025-03-09 10:00");
    EXPECT_EQ(Cell(PollKindHeat, 8, 1), "3.45");
    ASSERT_TRUE(QTest::qWaitFor(
        [] { return FrameLoraDevicePolling->PollProgressValue->text() == "2 з 2"; }, 5000))
        << "the silent one is being read";

    // Stop while the silent meter's 9 seconds run: "Зупинка…" until the run has ended, which
    // is at once.
    TPanelButton* stop = FrameLoraDevicePolling->PanelButtonDeviceStopPolling;
    stop->Click();
    EXPECT_TRUE(FrameLoraDevicePolling->Stopping());
    EXPECT_EQ(stop->Caption().toStdString(), "Зупинка…");
    stop->Click();  // a second press changes nothing
    ASSERT_TRUE(QTest::qWaitFor([] { return !FrameLoraDevicePolling->Polling(); }, 2000));
    EXPECT_TRUE(FrameLoraDevicePolling->PanelButtonDevicePolling->isVisible());
    EXPECT_FALSE(stop->isVisible());
    EXPECT_EQ(stop->Caption().toStdString(), "Зупинити");
    EXPECT_FALSE(FrameLoraDevicePolling->TimerRunning.Enabled());
    EXPECT_EQ(Cell(PollKindHeat, 10, 2), "") << "an exchange stopped is not a failure";
    EXPECT_EQ(DbController->DeviceHeatModel.GetReadings(1, "", "")->Count(), 1);

    // A finished run is released by the next Start; an empty tab ends at once.
    FrameLoraDevicePolling->PageControlSaveDevice->setCurrentIndex(PollKindWaterCold);
    FrameLoraDevicePolling->PanelButtonDevicePolling->Click();
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(FrameLoraDevicePolling->PanelButtonDevicePolling->isVisible());
}

// A reading that cannot be stored shows "Ошибка" as a silent meter does: the box at the end of
// the run says it was the file, and why. A file that takes no write is not polled at all.
TEST_F(PollingScreenTest, ReadingsNotStoredAreSaidAtTheEndAndAFileThatTakesNoWriteIsNotPolled) {
    AddMeter(PollKindHeat, 12345678);
    Connect({HeatMeter(12345678)});
    ASSERT_TRUE(
        DbController->Database.Execute("CREATE TRIGGER fail BEFORE INSERT ON heat_data_current "
                                       "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;"));
    FrameLoraDevicePolling->PanelButtonDevicePolling->Click();
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(Cell(PollKindHeat, 10, 1), "Ошибка");
    ASSERT_EQ(dialogs_.Boxes().size(), 1u);
    EXPECT_EQ(dialogs_.Boxes()[0].caption, "Помилка");
    EXPECT_EQ(dialogs_.Boxes()[0].text,
              "Не вдалося зберегти до local.db показів: 1. Причина: disk I/O error");

    ASSERT_TRUE(DbController->Database.Execute("PRAGMA query_only = 1"));
    FrameLoraDevicePolling->PanelButtonDevicePolling->Click();
    EXPECT_FALSE(FrameLoraDevicePolling->Polling());
    EXPECT_EQ(simulator_->Requests().size(), 1u) << "no second walk";
    ASSERT_EQ(dialogs_.Boxes().size(), 2u);
    EXPECT_EQ(dialogs_.Boxes()[1].text,
              "Не вдалося записати до local.db: attempt to write a readonly database");
    ASSERT_TRUE(DbController->Database.Execute("PRAGMA query_only = 0"));
}

// The meter lists cannot be read: one box when the screen opens, not empty tables said nothing
// of.
TEST_F(PollingScreenTest, MeterListsThatCannotBeReadAreSaidInOneBox) {
    CDataSubscriber apartment;
    apartment.bid = DbController->ObjectModel.InsertObject(CDataObject());
    apartment.no = "42";
    AddMeter(PollKindWaterHot, 87654321, DbController->SubscriberModel.InsertSubscriber(apartment));
    ASSERT_TRUE(
        DbController->Database.Execute("DROP TABLE app; CREATE VIEW app AS SELECT * FROM gone;"));
    Connect({});
    ASSERT_EQ(dialogs_.Boxes().size(), 1u);
    EXPECT_EQ(dialogs_.Boxes()[0].text, "Не вдалося прочитати local.db: no such table: main.gone");
}

TEST_F(PollingScreenTest, BackDuringAPollStopsItBeforeTheLinkGoes) {
    StartSlowWalkOfFive();

    FrameLoraDevicePolling->PanelButtonBack->Click();
    EXPECT_FALSE(FrameLoraDevicePolling->Polling());
    EXPECT_EQ(FormVeltara->Link(), nullptr);
    EXPECT_TRUE(FrameLoraMain->isVisible());
    EXPECT_FALSE(FrameLoraDevicePolling->isVisible());
    EXPECT_LT(simulator_->Requests().size(), 5u) << "the walk ended with the exchange under way";
    EXPECT_TRUE(dialogs_.Boxes().empty()) << "no use of a closed link";
}

TEST_F(PollingScreenTest, ClosingTheWindowDuringAPollLetsThePortGoAtOnce) {
    StartSlowWalkOfFive();
    window_->close();
    EXPECT_FALSE(FrameLoraDevicePolling->Polling());
    EXPECT_EQ(FormVeltara->Link(), nullptr);
    EXPECT_LT(simulator_->Requests().size(), 5u);
}

TEST_F(PollingScreenTest, QuittingDuringAPollEndsTheWindowWithinOneExchange) {
    StartSlowWalkOfFive();

    QCoreApplication::exit(0);  // the window was closed: the application is quitting
    window_.reset();            // waits for the poll, serving its last synchronised calls
    EXPECT_LT(simulator_->Requests().size(), 5u) << "the walk ended with the exchange under way";

    // The next test in this process starts with an application that is not quitting.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TEST_F(PollingScreenTest, AReadByNumberClearsTheValuesAtOnceAndSaysWhenNoAnswerCame) {
    simulator_ = std::make_unique<CMeterSimulator>(std::vector<CSimMeter>{HeatMeter(12345678)});
    std::string error;
    ASSERT_TRUE(simulator_->StartTcp(0, error)) << error;
    window_ = std::make_unique<TFormVeltara>();
    window_->show();
    window_->OpenLink(simulator_->PortPath().c_str(), 9600);
    window_->ShowPollingScreen();
    TFrameLoraDevicePolling& screen = *FrameLoraDevicePolling;
    screen.PageControl->setCurrentIndex(1);
    screen.DeviceNumberEdit->setText("12345678");
    QTest::keyClick(&screen, Qt::Key_F5);
    ASSERT_TRUE(WaitForIdle());
    EXPECT_EQ(screen.TableDeviceData->Cell(1, 0).toStdString(), "2025-03-09 10:00");
    EXPECT_FALSE(screen.LabelNoAnswer->isVisible());

    // The modem goes away: the read gets nothing, and the values shown are not this read's.
    simulator_->Hangup();
    dialogs_.Answer(IDCANCEL);
    dialogs_.Answer(IDCANCEL);
    screen.PanelButtonDevicePolling->Click();
    EXPECT_EQ(screen.TableDeviceData->Cell(1, 0), "") << "cleared when the read starts";
    ASSERT_TRUE(WaitForIdle());
    EXPECT_TRUE(screen.LabelNoAnswer->isVisible());
    EXPECT_EQ(screen.LabelNoAnswer->text().toStdString(), "Немає відповіді");
    EXPECT_EQ(screen.TableDeviceData->Cell(1, 0), "");
}

TEST_F(PollingScreenTest, AMeterAddedFromTheByNumberTabIsListedAtOnce) {
    AddMeter(PollKindHeat, 1);
    Connect({});
    TFrameLoraDevicePolling& screen = *FrameLoraDevicePolling;
    screen.PageControl->setCurrentIndex(1);
    screen.DeviceNumberEdit->setText("12345678");
    screen.PanelButonAdd->Click();
    QWidget* form = FrameDeviceList->FrameDeviceAdd;
    ASSERT_TRUE(form->isVisible());
    QTest::keyClick(FrameDeviceList->FrameDeviceAdd->EditMaskSerialNumber, Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(dialogs_.Texts().back(), "Пристрій успішно додано.");
    screen.PageControl->setCurrentIndex(0);
    ASSERT_EQ(screen.TableDeviceHeatList->RowCount(), 3);
    EXPECT_EQ(Cell(PollKindHeat, 0, 2), "12345678");
    EXPECT_EQ(screen.CountDeviceHeatValue->text(), "2");
}

TEST_F(PollingScreenTest, TheSerialAndTheStatusStayInSightAtTheSmallestWindow) {
    AddMeter(PollKindWaterCold, 87654321);
    Connect({});
    window_->resize(window_->minimumSize());
    TFrameLoraDevicePolling& screen = *FrameLoraDevicePolling;
    screen.PageControlSaveDevice->setCurrentIndex(PollKindWaterCold);
    QApplication::processEvents();
    TStringGrid& table = *screen.TableDeviceWaterColdList;
    const QRect status = table.visualRect(table.model()->index(0, WaterStatus));
    EXPECT_TRUE(table.viewport()->rect().contains(status)) << "the whole Стан column shows";
    EXPECT_EQ(table.horizontalScrollBar()->maximum(), 0) << "nothing to scroll to";
    EXPECT_EQ(table.ColWidth(WaterSerial), 64);
}

TEST(PollingTime, ShowsHoursMinutesAndSeconds) {
    EXPECT_EQ(ElapsedText(0), "00:00:00");
    EXPECT_EQ(ElapsedText(3600000 + 2 * 60000 + 5 * 1000 + 999), "01:02:05");
}
