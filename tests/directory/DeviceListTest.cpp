#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QTabWidget>

#include "DirectoryFixture.h"
#include "database/SQLite3Controller.h"
#include "directory/FrameDeviceAdd.h"
#include "directory/FrameDeviceBind.h"
#include "directory/FrameDeviceEdit.h"
#include "directory/FrameDeviceList.h"
#include "polling/FrameLoraDevicePolling.h"

namespace {
// The window with the meter list opened from the main screen's "Пристрої".
class DeviceListTest : public DirectoryTest {
protected:
    void OpenMeters() {
        window_ = std::make_unique<TFormVeltara>();
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        FrameLoraMain->PanelButtonDevice->Click();
        ASSERT_TRUE(FrameDeviceList->isVisible());
    }
    static TFrameDeviceList& List() { return *FrameDeviceList; }
    static TFrameDeviceAdd& AddForm() { return *FrameDeviceList->FrameDeviceAdd; }
    static int AddMeter(CDeviceBaseModel& model, int serial, int aid = 0) {
        CDeviceHeat meter;
        meter.serial = serial;
        meter.aid = aid;
        meter.date_install = "2024-05-06";
        meter.date_initial_verification = "2023-01-31";
        meter.calibration_interval = 12;
        return model.InsertDevice(meter);
    }
    // The add form's type, serial and save, as the operator would.
    void AddThroughForm(int kind, const QString& serial) {
        List().PageControl->setCurrentIndex(kind);
        List().PanelButonAdd->Click();
        AddForm().EditMaskSerialNumber->setText(serial);
        AddForm().ButtonSend->Click();
    }
};
}  // namespace

TEST_F(DeviceListTest, ListsMetersWithLeadingZerosAndTheirApartments) {
    const int bid = AddBuilding("вул. Шевченка", "12");
    const int aid = AddApartment(bid, "7");
    AddMeter(DbController->DeviceHeatModel, 1234);
    AddMeter(DbController->DeviceHeatModel, 87654321, aid);
    OpenMeters();
    TStringGrid* grid = List().StringGridHeat;
    ASSERT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(Cell(grid, 0, 1), "00001234");
    EXPECT_EQ(Cell(grid, 1, 1), "2024-05-06");
    EXPECT_EQ(Cell(grid, 2, 1), "");
    EXPECT_EQ(Cell(grid, 3, 1), "");
    EXPECT_EQ(Cell(grid, 2, 2), "вул. Шевченка 12");
    EXPECT_EQ(Cell(grid, 3, 2), "7");
    EXPECT_EQ(List().StringGridWaterCold->RowCount(), 1);

    // The question names the serial plainly; No keeps the meter.
    dialogs_.Answer(IDNO);
    List().StringGridSelectCell(MeterKindHeat, 6, 1);
    EXPECT_EQ(dialogs_.Boxes().back().text, "Видалити пристрій із серійним номером 1234 ?");
    EXPECT_EQ(grid->RowCount(), 3);

    window_->ShowMainScreen();
    EXPECT_FALSE(FrameDeviceList->isVisible());
}

// The apartments' table is gone from under a bound meter: the lists are not shown as if the
// meters had no apartments, nor as if there were no meters; one box says why, when the screen
// opens, and none came while the window was made.
TEST_F(DeviceListTest, ListsThatCannotBeReadAreSaidInOneBoxNotShownEmpty) {
    const int aid = AddApartment(AddBuilding("вул. Шевченка", "12"), "7");
    AddMeter(DbController->DeviceHeatModel, 11, aid);
    ASSERT_TRUE(
        DbController->Database.Execute("DROP TABLE app; CREATE VIEW app AS SELECT * FROM gone;"));
    window_ = std::make_unique<TFormVeltara>();
    EXPECT_TRUE(dialogs_.Boxes().empty());
    window_->show();
    FrameLoraMain->PanelButtonDevice->Click();
    ASSERT_EQ(dialogs_.Boxes().size(), 1u);
    EXPECT_EQ(dialogs_.Boxes()[0].caption, "Помилка");
    EXPECT_EQ(dialogs_.Boxes()[0].text, "Не вдалося прочитати local.db: no such table: main.gone");
    EXPECT_EQ(List().StringGridHeat->RowCount(), 1);
}

TEST_F(DeviceListTest, DeletesOnlyAnUnboundMeterWithoutReadings) {
    const int aid = AddApartment(AddBuilding("вул. Шевченка", "12"), "7");
    AddMeter(DbController->DeviceHeatModel, 11, aid);
    const int read = AddMeter(DbController->DeviceHeatModel, 22);
    AddMeter(DbController->DeviceHeatModel, 33);
    CDataHeat reading;
    reading.devid = read;
    reading.date = "2025-01-31 14:05";
    ASSERT_EQ(DbController->DeviceHeatModel.InsertReading(reading), InsertReadingResult::Stored);
    OpenMeters();
    dialogs_.Answer(IDYES);
    List().StringGridSelectCell(MeterKindHeat, 6, 1);
    EXPECT_EQ(LastText(),
              "Помилка під час видалення пристрою\nПристрій прив'язаний до приміщення: спершу "
              "відв'яжіть його.");
    dialogs_.Answer(IDYES);
    List().StringGridSelectCell(MeterKindHeat, 6, 2);
    EXPECT_EQ(LastText(), "Помилка під час видалення пристрою\nПристрій має збережені показники.");
    dialogs_.Answer(IDYES);
    List().StringGridSelectCell(MeterKindHeat, 6, 3);
    EXPECT_EQ(LastText(), "Пристрій успішно видалено");
    EXPECT_EQ(List().StringGridHeat->RowCount(), 3);
}

TEST_F(DeviceListTest, TheAddFormTakesSerialsFromOneToEightNines) {
    OpenMeters();
    AddThroughForm(MeterKindWaterHot, "00000000");
    EXPECT_EQ(AddForm().ComboBoxDeviceType->currentIndex(), MeterKindWaterHot);
    EXPECT_TRUE(AddForm().isVisible());
    EXPECT_TRUE(AddForm().ErrorSerialNumber->isVisible());
    EXPECT_TRUE(dialogs_.Boxes().empty());

    AddThroughForm(MeterKindHeat, "00000001");
    EXPECT_EQ(LastText(), "Пристрій успішно додано.");
    EXPECT_FALSE(AddForm().isVisible());
    AddThroughForm(MeterKindHeat, "99999999");
    EXPECT_EQ(Cell(List().StringGridHeat, 0, 2), "99999999");
    // A serial is unique within its kind only.
    AddThroughForm(MeterKindHeat, "00000001");
    EXPECT_EQ(LastText(),
              "Помилка під час додавання пристрою.\nПристрій із таким серійним номером уже "
              "збережено.");
    EXPECT_EQ(dialogs_.Boxes().back().caption, "Помилка");
    EXPECT_TRUE(AddForm().isVisible());
    AddThroughForm(MeterKindWaterCold, "00000001");
    EXPECT_EQ(LastText(), "Пристрій успішно додано.");
    const auto meter = DbController->DeviceHeatModel.GetDeviceBySerial(1);
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->calibration_interval, 48);

    List().PanelButonAddClick();
    AddForm().DateTimePickerInitialVerification->setDate(QDate(2021, 3, 15));
    EXPECT_EQ(AddForm().LabelNextCalibrationDateValue->text(), "15.03.2025");
}

TEST_F(DeviceListTest, TypedSerialDigitsReplaceTheWholeSerial) {
    OpenMeters();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    for (int attempt = 0; attempt < 2; ++attempt) {
        // The second time the form comes back with its reset "00000000".
        List().PanelButonAddClick();
        QApplication::processEvents();
        QTest::keyClicks(AddForm().EditMaskSerialNumber, attempt == 0 ? "1234" : "56781234");
        AddForm().ButtonSend->Click();
        EXPECT_EQ(LastText(), "Пристрій успішно додано.");
    }
    EXPECT_NE(DbController->DeviceHeatModel.GetDeviceBySerial(1234), nullptr);
    EXPECT_NE(DbController->DeviceHeatModel.GetDeviceBySerial(56781234), nullptr);
}

TEST_F(DeviceListTest, AStoredDateTheFormCannotReadIsMarkedAndKeptOnSave) {
    CDeviceHeat meter;
    meter.serial = 555;
    meter.date_install = "15/01/2024";  // as a spreadsheet wrote it into an early import
    meter.date_initial_verification = "10.01.2024";
    meter.calibration_interval = 48;
    const int devid = DbController->DeviceHeatModel.InsertDevice(meter);
    OpenMeters();
    List().StringGridSelectCell(MeterKindHeat, 5, 1);
    TFrameDeviceEdit& edit = *List().FrameDeviceEdit;
    EXPECT_TRUE(edit.ErrorDataInstall->isVisible());
    EXPECT_FALSE(edit.ErrorInitialVerification->isVisible()) << "dd.mm.yyyy is read";
    EXPECT_TRUE(edit.DateTimePickerDataInstall->toolTip().contains("15/01/2024"));
    EXPECT_EQ(edit.DateTimePickerInitialVerification->date(), QDate(2024, 1, 10));
    EXPECT_EQ(edit.LabelNextCalibrationDateValue->text(), "10.01.2028");
    edit.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Пристрій успішно оновлено");
    const auto kept = DbController->DeviceHeatModel.GetDeviceById(devid);
    EXPECT_EQ(kept->date_install, "15/01/2024") << "not today's date";
    EXPECT_EQ(kept->date_initial_verification, "2024-01-10");

    // A date picked replaces it.
    List().StringGridSelectCell(MeterKindHeat, 5, 1);
    edit.DateTimePickerDataInstall->setDate(QDate(2024, 2, 1));
    EXPECT_FALSE(edit.ErrorDataInstall->isVisible());
    edit.ButtonSend->Click();
    EXPECT_EQ(DbController->DeviceHeatModel.GetDeviceById(devid)->date_install, "2024-02-01");
}

TEST_F(DeviceListTest, EditShowsTheStoredIntervalAndKeepsTheBinding) {
    const int aid = AddApartment(AddBuilding("вул. Шевченка", "12"), "7");
    const int devid = AddMeter(DbController->DeviceWaterColdModel, 555, aid);
    OpenMeters();
    List().StringGridSelectCell(MeterKindWaterCold, 5, 1);
    TFrameDeviceEdit& edit = *List().FrameDeviceEdit;
    ASSERT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.EditMaskSerialNumber->text(), "00000555");
    EXPECT_EQ(edit.LabelNextCalibrationDateValue->text(), "31.01.2024");
    edit.EditMaskSerialNumber->setText("00000556");
    edit.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Пристрій успішно оновлено");
    const auto meter = DbController->DeviceWaterColdModel.GetDeviceById(devid);
    EXPECT_EQ(meter->serial, 556);
    EXPECT_EQ(meter->aid, aid);
    EXPECT_EQ(Cell(List().StringGridWaterCold, 0, 1), "00000556");
}

TEST_F(DeviceListTest, BindingMovesAndUnbindsAMeter) {
    const int bid = AddBuilding("вул. Шевченка", "12");
    AddApartment(bid, "1");
    const int aid = AddApartment(bid, "2");
    const int devid = AddMeter(DbController->DeviceHeatModel, 77);
    OpenMeters();
    TFrameDeviceBind& bind = *List().FrameDeviceBind;
    List().StringGridSelectCell(MeterKindHeat, 4, 1);
    ASSERT_TRUE(bind.isVisible());
    EXPECT_EQ(bind.LabelSerialNumber2->text(), "77");
    EXPECT_FALSE(bind.ComboBoxPremises->isEnabled());
    bind.ComboBoxBuild->setCurrentIndex(1);
    bind.ComboBoxBuildChange();
    // A building without an apartment chosen stores nothing.
    bind.ButtonSend->Click();
    EXPECT_TRUE(bind.ErrorPremises->isVisible());
    EXPECT_TRUE(dialogs_.Boxes().empty());
    bind.ComboBoxPremises->setCurrentIndex(2);
    bind.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Пристрій успішно прив'язаний");
    EXPECT_EQ(DbController->DeviceHeatModel.GetDeviceById(devid)->aid, aid);
    EXPECT_EQ(Cell(List().StringGridHeat, 3, 1), "2");

    List().StringGridSelectCell(MeterKindHeat, 4, 1);
    EXPECT_EQ(bind.ComboBoxPremises->currentText(), "2");
    bind.ComboBoxBuild->setCurrentIndex(0);
    bind.ComboBoxBuildChange();
    bind.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Пристрій успішно відв'язаний");
    EXPECT_EQ(DbController->DeviceHeatModel.GetDeviceById(devid)->aid, 0);
}

TEST_F(DeviceListTest, ImportsShowTheirSummaryAndExampleFilesNeverOverwrite) {
    std::filesystem::create_directory("templates");
    WriteFile("templates/import_devices.csv", "header\n");
    WriteFile("meters.csv", "h\nheat;12;2024-01-01;2024-01-01;0\nsteam;13;x;y;0\n");
    OpenMeters();
    dialogs_.ChooseFile("meters.csv");
    List().PanelButonImportClick();
    EXPECT_EQ(LastText(),
              "Збережено: 1, відв'язано: 0, пропущено: 1\nрядок 3: невідомий тип \"steam\"");
    EXPECT_EQ(Cell(List().StringGridHeat, 0, 1), "00000012");

    dialogs_.ChooseFile("missing.csv");
    List().PanelButtonLinkClick();
    EXPECT_EQ(dialogs_.Boxes().back().caption, "Помилка");

    WriteFile("mine.csv", "keep");
    dialogs_.ChooseFile("mine");
    List().LabelButtonTemplateClick(false);
    EXPECT_EQ(dialogs_.FileDialogs().back().proposedName, "Приклад додання пристроїв");
    EXPECT_EQ(ReadFile("mine.csv"), "keep");
    dialogs_.ChooseFile("copy.csv");
    List().LabelButtonTemplateClick(false);
    EXPECT_EQ(ReadFile("copy.csv.csv"), "header\n");
}

TEST_F(DeviceListTest, ThePollingScreensAddOpensTheFormWithTheTypedNumber) {
    OpenMeters();
    window_->ShowMainScreen();
    window_->ShowPollingScreen();
    TFrameLoraDevicePolling& polling = *FrameLoraDevicePolling;
    EXPECT_FALSE(polling.PanelButonAdd->isVisible());
    polling.PageControl->setCurrentIndex(1);
    EXPECT_TRUE(polling.PanelButonAdd->isVisible());
    polling.DeviceNumberEdit->setText("12345678");
    polling.PanelButonAdd->Click();
    EXPECT_TRUE(AddForm().isVisible());
    EXPECT_EQ(AddForm().EditMaskSerialNumber->text(), "12345678");
    window_->resize(1100, 640);
    QApplication::processEvents();
    EXPECT_EQ(AddForm().size(), polling.size()) << "the form covers the screen it is lent to";
    AddForm().ButtonSend->Click();
    EXPECT_EQ(LastText(), "Пристрій успішно додано.");
    EXPECT_FALSE(AddForm().isVisible());
    EXPECT_EQ(AddForm().parentWidget(), FrameDeviceList);
    polling.PageControl->setCurrentIndex(0);
    EXPECT_FALSE(polling.PanelButonAdd->isVisible());
}

TEST_F(DeviceListTest, AnApartmentImportNeedsAChosenBuilding) {
    AddBuilding("вул. Шевченка", "12");
    WriteFile("flats.csv", "h\n9;L9;Їжак;Олена;Ігорівна;40;40;1;0;0;;;\n");
    OpenDirectory();
    FrameOrganization->PanelButtonSubscriber->Click();
    Apartments().PanelButtonImportClick();
    EXPECT_EQ(LastText(), "Об'єкт для додавання не вибраний");
    Apartments().ComboBoxObjectList->setCurrentIndex(0);
    dialogs_.ChooseFile("flats.csv");
    Apartments().PanelButtonImportClick();
    EXPECT_EQ(LastText(), "Збережено: 1, відв'язано: 0, пропущено: 0");
    EXPECT_EQ(Apartments().StringGrid1->RowCount(), 2);
}

TEST_F(DeviceListTest, ATitleSortsTheMetersAndEachRowKeepsItsOwnMeter) {
    AddMeter(DbController->DeviceHeatModel, 300);
    AddMeter(DbController->DeviceHeatModel, 20);
    AddMeter(DbController->DeviceHeatModel, 1000);
    OpenMeters();
    TStringGrid* grid = List().StringGridHeat;
    const auto serials = [grid] {
        std::vector<std::string> shown;
        for (int row = 1; row < grid->RowCount(); ++row) shown.push_back(Cell(grid, 0, row));
        return shown;
    };
    List().StringGridSelectCell(MeterKindHeat, 0, 0);
    EXPECT_EQ(serials(), (std::vector<std::string>{"00000020", "00000300", "00001000"}));
    List().StringGridSelectCell(MeterKindHeat, 0, 0);
    EXPECT_EQ(serials(), (std::vector<std::string>{"00001000", "00000300", "00000020"}));

    // Enter on a row edits that row's meter; a refill keeps the order chosen.
    grid->setFocus();
    grid->SetRow(1);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_TRUE(List().FrameDeviceEdit->isVisible());
    EXPECT_EQ(List().FrameDeviceEdit->EditMaskSerialNumber->text(), "00001000");
    QTest::keyClick(List().FrameDeviceEdit->EditMaskSerialNumber, Qt::Key_Escape);
    EXPECT_FALSE(List().FrameDeviceEdit->isVisible());
    EXPECT_TRUE(List().isVisible()) << "Escape cancelled the form, not the screen";
    AddThroughForm(MeterKindHeat, "00000500");
    EXPECT_EQ(serials(),
              (std::vector<std::string>{"00001000", "00000500", "00000300", "00000020"}));
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(List().isVisible()) << "Escape is Назад";
}
