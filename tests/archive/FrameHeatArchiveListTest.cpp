#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
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
    EXPECT_EQ(screen.StringGridHeat->ColCount(), 15);
    EXPECT_EQ(screen.StringGridHeat->Cell(9, 0), "T2, °C");
    EXPECT_EQ(screen.StringGridWaterHot->ColCount(), 11);
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
    ASSERT_EQ(screen.StringGridHeat->RowCount(), 3)
        << "a one-day range counts that day whole; the totals follow";
    EXPECT_EQ(screen.StringGridHeat->Cell(0, 1), "12345678");
    EXPECT_EQ(screen.StringGridHeat->Cell(1, 1), "3");
    EXPECT_EQ(screen.StringGridHeat->Cell(5, 1), "2000.000") << "energies with three decimals";
    EXPECT_EQ(screen.StringGridHeat->Cell(6, 1), "1.721");
    EXPECT_EQ(screen.StringGridHeat->Cell(13, 1), "0.000") << "one reading: nothing consumed";
    EXPECT_EQ(screen.StringGridHeat->Cell(0, 2), "Разом");
    EXPECT_EQ(screen.StringGridHeat->RowHeight(1), 28);
    ASSERT_EQ(screen.StringGridWaterCold->RowCount(), 3);
    EXPECT_EQ(screen.StringGridWaterCold->Cell(6, 1), "90");
    EXPECT_EQ(screen.StringGridWaterHot->RowCount(), 1) << "no meters to sum, no totals";

    screen.PageControl1->setCurrentIndex(1);
    screen.DateTimePickerBegin->setDate(today_.addDays(-39));
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 1);
    screen.DateTimePickerBegin->setDate(today_.addDays(-41));
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 3);
    screen.ComboBoxObjectList->setCurrentIndex(1);
    EXPECT_EQ(screen.StringGridWaterCold->RowCount(), 1) << "the other building has no meters";

    // Shown again: the grids are cut back, the tab is kept.
    screen.PanelButtonBack->Click();
    FrameLoraMain->PanelButtonArchive->Click();
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);
    EXPECT_EQ(screen.PageControl1->currentIndex(), 1);
}

TEST_F(FrameHeatArchiveListTest, TheTickBoxListsSilentMetersAndATitleClickSortsByItsColumn) {
    AddHeatReading(heat_, Day(today_.addDays(-39)) + " 08:00", "2500");
    const int later = AddMeter(DbController->DeviceHeatModel, 34567890, AddApartment(bid_, "4"));
    AddHeatReading(later, Day(today_.addDays(-39)) + " 09:00", "10");
    TFrameHeatArchiveList& screen = Open();
    Choose(screen, today_.addDays(-41), today_, 0);
    TStringGrid& grid = *screen.StringGridHeat;
    ASSERT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(13, 1), "500.000");

    screen.CheckBoxWithoutReadings->setChecked(true);
    ASSERT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(0, 3), "23456789");
    EXPECT_EQ(grid.Cell(2, 3), "немає показань");
    EXPECT_EQ(grid.Cell(0, 4), "Разом");
    EXPECT_EQ(grid.Cell(13, 4), "500.000");

    const auto clickTitle = [&](int col) {
        QHeaderView& titles = *grid.horizontalHeader();
        QTest::mouseClick(titles.viewport(), Qt::LeftButton, {},
                          QPoint(titles.sectionViewportPosition(col) + 5, 5));
    };
    const auto serials = [&] {
        std::vector<QString> shown;
        for (int row = 1; row < grid.RowCount(); ++row) shown.push_back(grid.Cell(0, row));
        return shown;
    };
    clickTitle(13);
    EXPECT_EQ(serials(), (std::vector<QString>{"34567890", "12345678", "23456789", "Разом"}))
        << "the silent meter below the others, the totals last";
    clickTitle(13);
    EXPECT_EQ(serials(), (std::vector<QString>{"12345678", "34567890", "23456789", "Разом"}))
        << "again: reversed";
    screen.DateTimePickerEnd->setDate(today_.addDays(-1));
    EXPECT_EQ(grid.Cell(0, 1), "12345678") << "a refresh keeps the sort";

    // The export of the report's own layout leaves the consumption and the totals out.
    const auto own = screen.ExportRequest(false);
    EXPECT_EQ(own.grid.colCount, 11);
    EXPECT_EQ(own.grid.rowCount, 4);
    const auto full = screen.ExportRequest(true);
    EXPECT_EQ(full.grid.colCount, 15);
    EXPECT_EQ(full.grid.rowCount, 5);
    EXPECT_NE(full.place.fileName.find("спожито"), std::string::npos) << full.place.fileName;
}

TEST_F(FrameHeatArchiveListTest, AReportThatCannotBeReadIsSaidInABoxNotShownEmpty) {
    TFrameHeatArchiveList& screen = Open();
    ASSERT_TRUE(
        DbController->Database.Execute("DROP TABLE app; CREATE VIEW app AS SELECT * FROM gone;"));
    Choose(screen, today_.addDays(-41), today_, 0);
    ASSERT_EQ(dialogs_.Boxes().size(), 1u) << "one box for the three reports";
    EXPECT_EQ(dialogs_.Boxes()[0].caption, "Помилка");
    EXPECT_EQ(dialogs_.Boxes()[0].text, "Не вдалося прочитати local.db: no such table: main.gone");
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 1);
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

TEST_F(FrameHeatArchiveListTest, TheBuildingsAreInAddressOrderAndTheOneChosenLastComesBack) {
    AddBuilding("вул. Антоновича", "3");
    AddHeatReading(heat_, Day(today_) + " 07:00", "2100");
    TFrameHeatArchiveList& screen = Open();
    ASSERT_EQ(screen.ComboBoxObjectList->count(), 3);
    EXPECT_EQ(screen.ComboBoxObjectList->itemText(0), "вул. Антоновича 3");
    QStringList labels;
    for (const QLabel* label : screen.Header->findChildren<QLabel*>()) labels << label->text();
    EXPECT_EQ(labels, QStringList({"Будинок:", "з", "по"}));

    Choose(screen, today_.addDays(-41), today_, 1);
    ASSERT_EQ(screen.StringGridHeat->RowCount(), 3);
    QTest::keyClick(screen.ComboBoxObjectList, Qt::Key_Escape);
    EXPECT_FALSE(screen.isVisible()) << "Escape is Назад";
    FrameLoraMain->PanelButtonArchive->Click();
    EXPECT_EQ(screen.ComboBoxObjectList->currentText(), "вул. Шевченка 12");
    EXPECT_EQ(screen.StringGridHeat->RowCount(), 3) << "this month's readings show at once";

    // The choice grows with the window.
    const int narrow = screen.ComboBoxObjectList->width();
    window_->resize(1400, 700);
    QApplication::processEvents();
    EXPECT_GE(screen.ComboBoxObjectList->width(), narrow + 400);
}
