#include "DirectoryFixture.h"

namespace {
constexpr int kTick = 0, kEdit = 6, kDelete = 7;

// Makes the DELETE of one apartment fail, as a locked or damaged file would.
void RefuseDeleteOf(int aid) {
    ASSERT_TRUE(DbController->Database.Execute(
        Format("CREATE TRIGGER keep BEFORE DELETE ON app WHEN old.aid = %i "
               "BEGIN SELECT RAISE(ABORT, 'kept'); END;",
               aid)
            .c_str()));
}
}  // namespace

class ApartmentsListTest : public DirectoryTest {
protected:
    int bid_ = 0;

    void SetUp() override { bid_ = AddBuilding("Стрийська", "45"); }
    void OpenApartments() {
        OpenDirectory();
        FrameOrganization->PanelButtonSubscriber->Click();
        ASSERT_TRUE(Apartments().isVisible());
    }
    int Rows() const { return Apartments().StringGrid1->RowCount() - 1; }
};

TEST_F(ApartmentsListTest, ListsEveryApartmentWithItsAddressAndADashWithoutABuilding) {
    AddApartment(bid_, "7", "Ґудзь");
    AddApartment(4242, "9");  // its building was never stored
    OpenApartments();
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(Apartments().StringGrid1, 1, 1), "Стрийська 45");
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 1), "Ґудзь Олена Петрівна");
    EXPECT_EQ(Cell(Apartments().StringGrid1, 1, 2), "—");

    dialogs_.Answer(IDYES);
    Apartments().StringGrid1SelectCell(kDelete, 2);
    EXPECT_EQ(dialogs_.Texts()[0], "Видалити абонента —, 9?");
    EXPECT_EQ(LastText(), "Абонент успішно видалено");
    EXPECT_EQ(Rows(), 1);
}

TEST_F(ApartmentsListTest, DeletingAnApartmentWithMetersAsksToUnbindAndKeepsBothOnNo) {
    const int aid = AddApartment(bid_, "12");
    BindHeatMeter(11111111, aid);
    OpenApartments();

    dialogs_.Answer(IDYES);
    dialogs_.Answer(IDNO);
    Apartments().StringGrid1SelectCell(kDelete, 1);
    ASSERT_EQ(dialogs_.Boxes().size(), 3u);
    EXPECT_EQ(dialogs_.Boxes()[0].text, "Видалити абонента Стрийська 45, 12?");
    EXPECT_EQ(dialogs_.Boxes()[1].caption, "Відвязка пристроїв");
    EXPECT_EQ(dialogs_.Boxes()[1].text,
              "Відвязати усі пристрої від приміщення:  Стрийська 45, 12?");
    EXPECT_EQ(LastText(), "Помилка під час видалення абонента");
    EXPECT_EQ(BoundMeters(aid), 1);
    EXPECT_EQ(Rows(), 1);

    dialogs_.Answer(IDYES);
    dialogs_.Answer(IDYES);
    Apartments().StringGrid1SelectCell(kDelete, 1);
    EXPECT_EQ(LastText(), "Абонент успішно видалено");
    EXPECT_EQ(BoundMeters(aid), 0);
    EXPECT_EQ(DbController->DeviceHeatModel.GetDevicesByApartment(0)->Count(), 1)
        << "the meter stays, unbound";
    EXPECT_EQ(Rows(), 0);
}

TEST_F(ApartmentsListTest, AFailedDeleteLeavesTheMetersBound) {
    const int aid = AddApartment(bid_, "12");
    BindHeatMeter(11111111, aid);
    RefuseDeleteOf(aid);
    OpenApartments();
    dialogs_.Answer(IDYES);
    dialogs_.Answer(IDYES);
    Apartments().StringGrid1SelectCell(kDelete, 1);
    EXPECT_EQ(LastText(), "Помилка під час видалення абонента");
    EXPECT_EQ(BoundMeters(aid), 1) << "the apartment and its bindings go together or not at all";
    EXPECT_EQ(Rows(), 1);
}

TEST_F(ApartmentsListTest, TickedApartmentsAreDeletedWithASummaryOfSuccessesAndFailures) {
    const int first = AddApartment(bid_, "1");
    const int second = AddApartment(bid_, "2");
    const int third = AddApartment(bid_, "3");
    AddApartment(bid_, "4");
    BindHeatMeter(11111111, first);
    BindHeatMeter(22222222, second);
    RefuseDeleteOf(third);
    OpenApartments();
    TPanelButton* remove = Apartments().PanelButtonRemoveSelected;
    EXPECT_FALSE(remove->isVisible());
    Apartments().StringGrid1SelectCell(kTick, 1);
    EXPECT_TRUE(remove->isVisible());
    Apartments().StringGrid1SelectCell(kTick, 1);
    EXPECT_FALSE(remove->isVisible()) << "unticking the only ticked row hides it again";

    for (int row : {1, 2, 3}) Apartments().StringGrid1SelectCell(kTick, row);
    dialogs_.Answer(IDYES);
    remove->Click();
    EXPECT_EQ(dialogs_.Texts()[0],
              "Ви бажаєте відвязати лічильники від приміщень та видалити ці приміщення у "
              "кількості  3?");
    EXPECT_EQ(LastText(),
              "Видалення вибраних приміщень. \n Успішно видалено: 2\n Не видалилось: 1");
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(Apartments().StringGrid1, 2, 1), "3");
    EXPECT_EQ(BoundMeters(first) + BoundMeters(second), 0);
    EXPECT_FALSE(remove->isVisible());
}

TEST_F(ApartmentsListTest, FilterNarrowsByNumberAccountOrSurnameAndEveryFillUnticks) {
    const int other = AddBuilding("Наукова", "2");
    AddApartment(bid_, "10", "Мельник");
    AddApartment(bid_, "21", "Ковальчук");
    AddApartment(other, "10", "Мельничук");
    OpenApartments();
    ASSERT_EQ(Rows(), 3);
    Apartments().StringGrid1SelectCell(kTick, 1);

    QTest::keyClicks(Apartments().EditFilter, "L2");  // an account
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(Apartments().Ticked(1));
    EXPECT_FALSE(Apartments().PanelButtonRemoveSelected->isVisible());
    Type(Apartments().EditFilter, "мельн");  // a surname, case aside
    EXPECT_EQ(Rows(), 2);

    // The buildings come in address order.
    ASSERT_EQ(Apartments().ComboBoxObjectList->itemText(0), "Наукова 2");
    Apartments().ComboBoxObjectList->setCurrentIndex(0);
    Apartments().ComboBoxObjectListChange();
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(Apartments().StringGrid1, 1, 1), "Наукова 2");
    Type(Apartments().EditFilter, "");
    EXPECT_EQ(Rows(), 1) << "the building choice still holds";

    Apartments().StringGrid1SelectCell(kEdit, 1);
    dialogs_.Answer(IDYES);
    Apartments().ProgramSubscriberEdit->ButtonSend->Click();
    EXPECT_EQ(LastText(), "Абонент успішно оновлено");
    EXPECT_EQ(Rows(), 1) << "after a save the chosen building's apartments still show";

    FrameOrganization->PanelButtonSubscriber->Click();
    EXPECT_EQ(Apartments().ComboBoxObjectList->currentIndex(), -1);
    EXPECT_EQ(Rows(), 3);

    // "Назад" resets the list, and the search with it.
    Type(Apartments().EditFilter, "мельн");
    ASSERT_EQ(Rows(), 2);
    FrameOrganization->PanelButtonBack->Click();
    FrameLoraMain->PanelButtonObject->Click();
    FrameOrganization->PanelButtonSubscriber->Click();
    EXPECT_EQ(Apartments().EditFilter->text(), "");
    EXPECT_EQ(Rows(), 3);
}
