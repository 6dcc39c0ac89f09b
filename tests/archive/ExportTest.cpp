#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "ArchiveFixture.h"
#include "archive/Excel.h"
#include "archive/ExportSheet.h"
#include "archive/ThreadHeatArchiveListExportExcel.h"
#include "support/CommaDecimalLocale.h"

namespace {

struct CMessage {
    std::string text;
    ExcelMessageKind kind;
};

class ExportTest : public ::testing::Test {
protected:
    CTempWorkDir dir_;
    std::vector<CMessage> messages_;

    CExportPlace Place(const std::string& name = "report.xlsx") {
        CExportPlace place;
        place.folder = (dir_.Path() / "out").string();
        place.fileName = name;
        place.opener = "true";
        return place;
    }
    ExcelMessageHandler Messages() {
        return [this](const std::string& text, ExcelMessageKind kind) {
            messages_.push_back({text, kind});
        };
    }
    static CArchiveGrid HeatGrid() {
        CArchiveGrid grid = TitleGrid(ArchiveKind::Heat);
        const std::vector<std::string> row = {
            "12345678", "5/7", "2024-03-01 00:00", "0,5", "0.000", "1000", "0.860", "12.5", "",
            "50.25",    "-3"};
        for (int r = 1; r <= 2; ++r) {
            grid.AddRow();
            for (int col = 0; col < grid.colCount; ++col) grid.SetCell(col, r, row[col]);
        }
        return grid;
    }
    std::string Written(const std::string& name = "report.xlsx") {
        return (dir_.Path() / "out" / name).string();
    }
};

bool Has(const std::string& sheet, const std::string& line) {
    return sheet.find(line + "\n") != std::string::npos;
}

TEST_F(ExportTest, TheHeatSheetMatchesTheReportLayoutCellForCell) {
    CExcel excel(Place(), Messages());
    ASSERT_EQ(ExportGrid(HeatGrid(), "вул. Шевченка, 12", excel), ExportResult::Shown);
    EXPECT_TRUE(messages_.empty());
    const std::string sheet = ReadSheet(Written());
    EXPECT_TRUE(Has(sheet, "print landscape paper=9 fit=1 wide=1 tall=0 titles=$4:$4"))
        << "A4 across, one page wide, the titles atop every page\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "height 4 45.0"))
        << "three lines for \"Номер приміщення\" in its column\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "merge A1:F1")) << sheet;
    EXPECT_TRUE(Has(sheet, "merge G1:L1")) << sheet;
    EXPECT_TRUE(Has(sheet, "merge A2:L2")) << sheet;
    EXPECT_TRUE(Has(sheet, "A1 str 'Адреса:' bold=1 size=11 border=0 h=left v=None wrap=0"))
        << sheet;
    EXPECT_TRUE(Has(sheet,
                    "G1 str 'вул. Шевченка. 12' bold=1 size=11 border=0 h=left v=None "
                    "wrap=0"))
        << "the label's comma becomes a period\n"
        << sheet;
    EXPECT_TRUE(Has(sheet,
                    "A2 str 'Відомості обліку теплової енергії' bold=1 size=14 border=0 "
                    "h=center v=center wrap=0"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "A4 str '№' bold=0 size=11 border=1 h=center v=center wrap=0")) << sheet;
    EXPECT_TRUE(Has(sheet,
                    "E4 str 'Q cooling, kWh' bold=0 size=11 border=1 h=center v=center "
                    "wrap=1"))
        << "the title row keeps its commas\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "A5 num 1 General bold=0 size=11 border=1 h=center v=center wrap=0"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "A6 num 2 General bold=0 size=11 border=1 h=center v=center wrap=0"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "B5 num 12345678 0 bold=0 size=11 border=1 h=center v=center wrap=1"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "C5 str '5/7' bold=0 size=11 border=1 h=center v=center wrap=1"))
        << sheet;
    EXPECT_TRUE(Has(sheet,
                    "D5 date 2024-03-01 00:00:00 yyyy-mm-dd hh:mm bold=0 size=11 border=1 "
                    "h=center v=center wrap=1"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "E5 num 0.5 0.0 bold=0 size=11 border=1 h=center v=center wrap=1"))
        << "a comma decimal is a number\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "F5 num 0 0.000 bold=0 size=11 border=1 h=center v=center wrap=1"))
        << "a number keeps the decimals the grid shows\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "H5 num 0.86 0.000 bold=0 size=11 border=1 h=center v=center wrap=1"))
        << sheet;
    EXPECT_TRUE(Has(sheet, "J5 blank bold=0 size=11 border=1 h=center v=center wrap=1"))
        << "an empty cell is framed all the same\n"
        << sheet;
    EXPECT_TRUE(Has(sheet, "L6 num -3 0 bold=0 size=11 border=1 h=center v=center wrap=1"))
        << sheet;
    EXPECT_FALSE(Has(sheet, "A7")) << sheet;
    // Only the date is longer than 8 bytes: its column alone is fitted.
    EXPECT_NE(sheet.find("width D 20."), std::string::npos) << sheet;
    EXPECT_EQ(sheet.find("width B"), std::string::npos) << "8 bytes do not fit a column";
}

TEST_F(ExportTest, AWaterGridWithItsTitleRowAloneGivesTheHeadingAndTheHeader) {
    CExcel excel(Place(), Messages());
    ASSERT_EQ(ExportGrid(TitleGrid(ArchiveKind::WaterHot), "", excel), ExportResult::Shown);
    const std::string sheet = ReadSheet(Written());
    EXPECT_TRUE(Has(sheet, "merge A1:E1")) << sheet;
    EXPECT_TRUE(Has(sheet, "merge F1:I1")) << sheet;
    EXPECT_TRUE(Has(sheet, "merge A2:I2")) << sheet;
    EXPECT_NE(sheet.find("A2 str 'Відомості обліку гарячої води'"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("I4 str 'V Reverse'"), std::string::npos) << sheet;
    EXPECT_EQ(sheet.find("A5"), std::string::npos) << sheet;
}

TEST_F(ExportTest, TheConsumptionLayoutNumbersTheMetersAndNotTheirTotals) {
    CArchiveGrid grid = TitleGrid(ArchiveKind::WaterCold, true);
    AddGridRow(grid, ArchiveRow::Readings,
               {"1", "7", "2024-03-31 10:00:00", "12.500", "0.750", "3.60", "90", "0.010",
                "2024-03-01 10:00:00", "2.500", "10.000"});
    AddGridRow(
        grid, ArchiveRow::Readings,
        {"2", "8", "2024-03-31 10:00:00", "1.000", "", "", "0", "", "", "2.000", "-1.000 !"});
    AddGridRow(grid, ArchiveRow::NoReadings, {"3", "9", "немає показань"});
    AddGridRow(grid, ArchiveRow::Totals, {"Разом", "", "", "", "", "", "", "", "", "", "10.000"});
    CExcel excel(Place(), Messages());
    ASSERT_EQ(ExportGrid(grid, "a", excel), ExportResult::Shown);
    const std::string sheet = ReadSheet(Written());
    EXPECT_TRUE(Has(sheet, "merge A2:L2")) << sheet;
    EXPECT_NE(sheet.find("L4 str 'Спожито V, m3'"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("L5 num 10 0.000"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("L6 str '-1.000 !'"), std::string::npos)
        << "a counter gone backwards stays marked, out of any sum\n"
        << sheet;
    EXPECT_NE(sheet.find("A7 num 3 General"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("D7 str 'немає показань'"), std::string::npos) << sheet;
    EXPECT_TRUE(Has(sheet, "A8 blank bold=0 size=11 border=1 h=center v=center wrap=0")) << sheet;
    EXPECT_NE(sheet.find("B8 str 'Разом'"), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("L8 num 10 0.000"), std::string::npos) << sheet;
}

TEST_F(ExportTest, AnExistingFileIsNeverOverwritten) {
    std::filesystem::create_directory("out");
    WriteFile(Written(), "kept");
    CExcel first(Place(), Messages());
    ASSERT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "a", first), ExportResult::Shown);
    CExcel second(Place(), Messages());
    ASSERT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "b", second), ExportResult::Shown);
    EXPECT_EQ(ReadFile(Written()), "kept");
    EXPECT_EQ(first.WrittenPath(), Written("report (2).xlsx"));
    EXPECT_EQ(second.WrittenPath(), Written("report (3).xlsx"));

    CExportPlace refused = Place();
    refused.numberIfTaken = false;
    CExcel third(refused, Messages());
    EXPECT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "c", third), ExportResult::NotShown);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Ошибка при показе Excel\n" + Written());
    EXPECT_EQ(messages_[0].kind, ExcelMessageKind::Plain);
    EXPECT_EQ(ReadFile(Written()), "kept");
}

TEST_F(ExportTest, ACyrillicNameIsWrittenWholeUnderItsOwnNameAndNothingElseIsLeft) {
    const std::string name = ReportFileName("ТИТУЛ", "вул. Шевченка 12а", "2024-03-01", "");
    for (int round = 0; round < 2; ++round) {
        CExcel excel(Place(name), Messages());
        ASSERT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "", excel), ExportResult::Shown);
        EXPECT_NE(ReadSheet(excel.WrittenPath()).find("A4 str '№'"), std::string::npos);
    }
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("out"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{name, NumberedFileName(name, 2)}));
}

TEST_F(ExportTest, AFolderThatCannotBeWrittenIsAnOpenFailure) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
    std::filesystem::create_directory("out");
    chmod("out", 0500);
    CExcel excel(Place(), Messages());
    EXPECT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "", excel), ExportResult::NotOpened);
    chmod("out", 0700);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Невозможно открыть Microsoft Excel!");
    EXPECT_EQ(messages_[0].kind, ExcelMessageKind::Error);
}

TEST_F(ExportTest, AFileInTheWayOfTheFolderIsAnOpenFailure) {
    WriteFile("out", "");
    CExcel excel(Place(), Messages());
    EXPECT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "", excel), ExportResult::NotOpened);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Невозможно открыть Microsoft Excel!");
}

TEST_F(ExportTest, AMissingOrFailingOpenerKeepsTheFileAndNamesIt) {
    for (const char* opener : {"vevo-no-such-opener", "false"}) {
        messages_.clear();
        CExportPlace place = Place(std::string(opener) + ".xlsx");
        place.opener = opener;
        CExcel excel(place, Messages());
        EXPECT_EQ(ExportGrid(TitleGrid(ArchiveKind::Heat), "", excel), ExportResult::NotShown);
        ASSERT_EQ(messages_.size(), 1u) << opener;
        EXPECT_EQ(messages_[0].text,
                  "Ошибка при показе Excel\nФайл збережено: " + excel.WrittenPath());
        EXPECT_EQ(messages_[0].kind, ExcelMessageKind::Unshown) << "with a way to its folder";
        EXPECT_NE(ReadSheet(excel.WrittenPath()).find("A4 str '№'"), std::string::npos);
    }
}

TEST_F(ExportTest, ColumnsPastZAreRefusedWithTheirMessagesAndAFailedWriteEndsTheExport) {
    CExcel excel(Place(), Messages());
    ASSERT_TRUE(excel.Open());
    ASSERT_TRUE(excel.CreateWorkbook());
    ASSERT_TRUE(excel.ActivateSheet(1));
    EXPECT_TRUE(excel.WriteCell(10, 25, "a,b,c", -1));
    EXPECT_EQ(excel.Sheet().Find(9, 25)->text, "a.b.c");
    EXPECT_TRUE(excel.WriteText(1, 0, "Q,\r\nkWh"));
    EXPECT_EQ(excel.Sheet().Find(0, 0)->text, "Q,kWh");
    EXPECT_FALSE(excel.WriteCell(1, 26, "1", -1));
    EXPECT_FALSE(excel.WriteText(1, 26, "1"));
    EXPECT_FALSE(excel.SetBorder(1, 26, CExcel::kLineContinuous));
    EXPECT_FALSE(excel.AutoFitColumn(1, 26));
    EXPECT_FALSE(excel.SetCellsValue(1, 27, "1"));
    std::vector<std::string> texts;
    for (const CMessage& message : messages_) texts.push_back(message.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "Ошибка 2 при записи в ячейку", "Ошибка 3 при записи в ячейку",
                  "Ошибка при рисовании рамки ячейки", "Ошибка при изменении размера Столбца"}));

    // A grid wider than the sheet's letters: its write fails, and that is all that is said.
    messages_.clear();
    CArchiveGrid wide;
    wide.name = "StringGridHeat";
    wide.colCount = 30;
    wide.AddRow();
    for (int col = 0; col < wide.colCount; ++col) wide.SetCell(col, 0, "x");
    CExcel export_(Place("wide.xlsx"), Messages());
    EXPECT_EQ(ExportGrid(wide, "", export_), ExportResult::WriteFailed);
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.back().text, "Ошибка 3 при записи в ячейку");
    EXPECT_FALSE(std::filesystem::exists(Written("wide.xlsx")));
}

TEST_F(ExportTest, TheFileKeepsThePointUnderACommaDecimalLocale) {
    const CCommaDecimalLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale installed";
    CExcel excel(Place(), Messages());
    ASSERT_EQ(ExportGrid(HeatGrid(), "", excel), ExportResult::Shown);
    const std::string sheet = ReadSheet(Written());
    EXPECT_NE(sheet.find("E5 num 0.5 0.0 "), std::string::npos) << sheet;
    EXPECT_NE(sheet.find("A2 str 'Відомості обліку теплової енергії' bold=1 size=14"),
              std::string::npos)
        << sheet;
}

TEST_F(ExportTest, TheThreadExportsItsCopy) {
    auto thread = TThread::StartThread<ThreadHeatArchiveListExportExcel>(
        HeatGrid(), std::string("вул. Шевченка 12"), Place(), Messages());
    thread->WaitFor();
    EXPECT_TRUE(messages_.empty());
    EXPECT_NE(ReadSheet(Written()).find("A6 num 2"), std::string::npos);
}

TEST(ReportFileName, NamesTitleBuildingAndDaysWithUnsafeCharactersReplaced) {
    EXPECT_EQ(ReportFileName("Відомості", "просп. Свободи 5/7", "2024-03-01", "2024-03-31"),
              "Відомості - просп. Свободи 5_7 - 2024-03-01 - 2024-03-31.xlsx");
    EXPECT_EQ(ReportFileName("", "", "2024-03-01", "2024-03-31"), "2024-03-01 - 2024-03-31.xlsx");
    EXPECT_EQ(ReportFileName("a", ".. \\:*?\"<>|\n", "", ""), "a - .. _________.xlsx");
    EXPECT_EQ(ReportFileName("", "..", "", ""), "_...xlsx");
    EXPECT_EQ(NumberedFileName("a b.xlsx", 2), "a b (2).xlsx");
    const std::string longName =
        ReportFileName(std::string(150, 'x'), std::string(100, 'y'), "", "");
    EXPECT_LE(longName.size(), 205u);
}

}  // namespace
