#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "ArchiveFixture.h"
#include "app/FormVeltara.h"
#include "app/FrameLoraMain.h"
#include "app/toolkit/PanelButton.h"
#include "app/toolkit/StringGrid.h"
#include "archive/FrameHeatArchiveList.h"
#include "support/ScriptedDialogs.h"

namespace {

// The whole window on a fresh local.db, the archive opened from the main screen's "Показники".
class FrameHeatArchiveListTest : public ArchiveTest {
protected:
    CScriptedDialogs dialogs_;
    std::unique_ptr<TFormVeltara> window_;

    FrameHeatArchiveListTest() {
        bid_ = AddBuilding("вул. Шевченка", "12");
        AddBuilding("просп. Свободи", "5/7");
        const int aid = AddApartment(bid_, "3");
        heat_ = AddMeter(DbController->DeviceHeatModel, 12345678, aid);
        AddMeter(DbController->DeviceHeatModel, 23456789, aid);  // never read
        const int cold = AddMeter(DbController->DeviceWaterColdModel, 87654321, aid);
        today_ = QDate::currentDate();
        AddHeatReading(heat_, Day(today_.addDays(-40)) + " 08:00", "2000");
        AddWaterReading(DbController->DeviceWaterColdModel, cold,
                        Day(today_.addDays(-40)) + " 08:00:00");
    }

    static std::string Day(QDate day) { return day.toString("yyyy-MM-dd").toStdString(); }

    TFrameHeatArchiveList& Open() {
        window_ = std::make_unique<TFormVeltara>();
        window_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        FrameLoraMain->PanelButtonArchive->Click();
        return *FrameHeatArchiveList;
    }
    // The range set by the user, then the building chosen.
    static void Choose(TFrameHeatArchiveList& screen, QDate first, QDate last, int building) {
        screen.DateTimePickerBegin->setDate(first);
        screen.DateTimePickerEnd->setDate(last);
        screen.ComboBoxObjectList->setCurrentIndex(building);
    }

    int bid_ = 0, heat_ = 0;
    QDate today_;
};

TEST_F(FrameHeatArchiveListTest, EnteringShowsTitleRowsThisMonthAndEveryBuildingNoneChosen) {
    TFrameHeatArchiveList& screen = Open();
    EXPECT_TRUE(screen.isVisible());
    EXPECT_TRUE(FrameLoraMain->isVisible()) << "the main screen stays under it";
    EXPECT_EQ(screen.DateTimePickerBegin->date(), QDate(today_.year(), today_.month(), 1));
    EXPECT_EQ(screen.DateTimePickerEnd->date(), today_);
    ASSERT_EQ(screen.ComboBoxObjectList->count(), 2);
    EXPECT_EQ(screen.ComboBoxObjectList->itemText(0), "вул. Шевченка 12");
    EXPECT_EQ(screen.ComboBoxObjectList->itemText(1), "просп. Свободи 5/7");
    EXPECT_EQ(screen.ComboBoxObjectList->currentIndex(), -1);
    for (TStringGrid* grid :
         {screen.StringGridHeat, screen.StringGridWaterCold, screen.StringGridWaterHot}) {
        EXPECT_EQ(grid->RowCount(), 1);
        EXPECT_EQ(grid->RowHeight(0), 32);
    }
    EXPECT_EQ(screen.StringGridHeat->ColCount(), 11);
    EXPECT_EQ(screen.StringGridHeat->Cell(9, 0), "T2, °C");
    EXPECT_EQ(screen.StringGridWaterHot->ColCount(), 8);
    EXPECT_EQ(screen.PageControl1->tabText(1), "Холодна вода");

    // A date change with no building chosen leaves the grids as they are.
    screen.DateTimePickerBegin->setDate(today_.addDays(-60));
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);

    screen.PanelButtonBack->Click();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_TRUE(FrameLoraMain->isVisible());
}

TEST_F(FrameHeatArchiveListTest, ChoosingABuildingFillsEveryTabAndEachChangeRefreshes) {
    TFrameHeatArchiveList& screen = Open();
    Choose(screen, today_.addDays(-40), today_.addDays(-40), 0);
    ASSERT_EQ(screen.StringGridHeat->RowCount(), 2) << "a one-day range counts that day whole";
    EXPECT_EQ(screen.StringGridHeat->Cell(0, 1), "12345678");
    EXPECT_EQ(screen.StringGridHeat->Cell(1, 1), "3");
    EXPECT_EQ(screen.StringGridHeat->Cell(5, 1), "2000.0") << "the energy columns hold numbers";
    EXPECT_EQ(screen.StringGridHeat->Cell(6, 1), "1.721");
    EXPECT_EQ(screen.StringGridHeat->RowHeight(1), 28);
    ASSERT_EQ(screen.StringGridWaterCold->RowCount(), 2);
    EXPECT_EQ(screen.StringGridWaterCold->Cell(6, 1), "90");
    EXPECT_EQ(screen.StringGridWaterHot->RowCount(), 1);

    screen.PageControl1->setCurrentIndex(1);
    screen.DateTimePickerBegin->setDate(today_.addDays(-39));
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 1);
    screen.DateTimePickerBegin->setDate(today_.addDays(-41));
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 2);
    screen.ComboBoxObjectList->setCurrentIndex(1);
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 1) << "the other building has no meters";

    // Shown again: the grids are cut back, the tab is kept.
    screen.PanelButtonBack->Click();
    FrameLoraMain->PanelButtonArchive->Click();
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);
    EXPECT_EQ(screen.PageControl1->currentIndex(), 1);
}

TEST_F(FrameHeatArchiveListTest, TheExportTakesACopyOfTheShowingGridAndTheFiltersText) {
    TFrameHeatArchiveList& screen = Open();
    auto request = screen.ExportRequest();
    EXPECT_EQ(request.grid.name, "StringGridHeat");
    EXPECT_EQ(request.grid.rowCount, 1) << "no building: the title row only";
    EXPECT_EQ(request.buildingLabel, "");

    const QDate first = today_.addDays(-41);
    Choose(screen, first, today_, 0);
    screen.PageControl1->setCurrentIndex(1);
    screen.SetExportPlace((dir_.Path() / "exports").string(), "true");
    request = screen.ExportRequest();
    EXPECT_EQ(request.grid.name, "StringGridWaterCold");
    ASSERT_EQ(request.grid.rowCount, 2);
    ASSERT_EQ(request.grid.colCount, 8);
    EXPECT_EQ(request.grid.Cell(0, 1), "87654321");
    EXPECT_EQ(request.buildingLabel, "вул. Шевченка 12");
    EXPECT_EQ(request.place.folder, (dir_.Path() / "exports").string());
    EXPECT_EQ(request.place.fileName, "Відомості обліку холодної води - вул. Шевченка 12 - " +
                                          Day(first) + " - " + Day(today_) + ".xlsx");
    EXPECT_EQ(request.place.opener, "true");
}

}  // namespace
