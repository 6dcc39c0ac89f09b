#include <QApplication>
#include <QLabel>

#include "DirectoryFixture.h"

class ApartmentFormsTest : public DirectoryTest {
protected:
    int bid_ = 0;

    void SetUp() override {
        bid_ = AddBuilding("Стрийська", "45");
        OpenDirectory();
        FrameOrganization->PanelButtonSubscriber->Click();
    }
    static TProgramSubscriberAdd& Add() { return *Apartments().ProgramSubscriberAdd; }
    static TProgramSubscriberEdit& Edit() { return *Apartments().ProgramSubscriberEdit; }
    // The add form opened from the list and filled with what every apartment needs.
    static void OpenFilledAdd(const QString& no, const QString& surname = "Шевчук",
                              const QString& name = "Олена",
                              const QString& patronymic = "Ігорівна") {
        Apartments().PanelButtonAdd->Click();
        Add().ComboBoxHouse->setCurrentIndex(0);
        Type(Add().EditApartment, no);
        Type(Add().EditPersonalAccount, "123456789");
        Type(Add().EditSurname, surname);
        Type(Add().EditName, name);
        Type(Add().EditFirstName, patronymic);
    }
    static std::unique_ptr<CDataSubscriber> Stored(int row) {
        Apartments().StringGrid1SelectCell(6, row);
        return DbController->SubscriberModel.GetSubscriberById(Edit().LabelId->text().toInt());
    }
};

TEST_F(ApartmentFormsTest, AddMarksEveryRequiredFieldAndRefusesANumberTakenInTheBuilding) {
    Apartments().PanelButtonAdd->Click();
    ASSERT_TRUE(Add().isVisible());
    EXPECT_FALSE(Apartments().PanelBody->isVisible());
    Add().ButtonSend->Click();
    for (QWidget* mark : {Add().ErrorStreet, Add().ErrorApartment, Add().ErrorPersonalAccount,
                          Add().ErrorSurname, Add().ErrorName, Add().ErrorFirstName}) {
        EXPECT_FALSE(mark->isHidden());
    }
    EXPECT_TRUE(dialogs_.Boxes().empty());

    OpenFilledAdd("12");
    QTest::keyClick(Add().EditFirstName, Qt::Key_Return);
    EXPECT_EQ(LastText(), "Абонент успішно додано");
    EXPECT_FALSE(Add().isVisible());
    EXPECT_EQ(Apartments().StringGrid1->RowCount(), 2);
    const auto stored = Stored(1);
    EXPECT_EQ(stored->type_room, 1) << "no room type chosen: non-residential";
    EXPECT_EQ(stored->mzk, 1) << "no choice: a user";

    Edit().ButtonCancel->Click();
    OpenFilledAdd("12");
    Add().ButtonSend->Click();
    EXPECT_EQ(LastText(), "Помилка під час додавання абонента");
    EXPECT_TRUE(Add().isVisible()) << "the form stays with its texts";
    EXPECT_EQ(Add().EditApartment->text(), "12");
    QTest::keyClick(Add().EditApartment, Qt::Key_Escape);
    EXPECT_FALSE(Add().isVisible());
    EXPECT_TRUE(Apartments().PanelBody->isVisible());
}

TEST_F(ApartmentFormsTest, KeyFiltersDropWhatAFieldCannotHold) {
    Apartments().PanelButtonAdd->Click();
    Type(Add().EditTotalFloorArea, "12a.5.");
    EXPECT_EQ(Add().EditTotalFloorArea->text(), "12.5");
    Type(Add().EditTotalFloorHeatArea, "45,5,");
    EXPECT_EQ(Add().EditTotalFloorHeatArea->text(), "45.5") << "a comma is the point";
    Type(Add().EditSurname, "Дʼякова-Ов 2.");
    EXPECT_EQ(Add().EditSurname->text(), "Дʼякова-Ов") << "apostrophe and hyphen pass";
    Type(Add().EditNumRegPeopl, "x3");
    EXPECT_EQ(Add().EditNumRegPeopl->text(), "3");
    EXPECT_EQ(Add().EditPersonalAccount->maxLength(), 9);

    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Add().ComboBoxHouse->setFocus();
    for (QLineEdit* next : {Add().EditApartment, Add().EditPersonalAccount, Add().EditSurname,
                            Add().EditName, Add().EditFirstName}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << "Tab follows the fields down the form";
    }

    AddApartment(bid_, "5");
    Apartments().RefreshList(false);
    Apartments().StringGrid1SelectCell(6, 1);
    Type(Edit().EditTotalFloorArea, "45,5");
    EXPECT_EQ(Edit().EditTotalFloorArea->text(), "45.5");
    EXPECT_EQ(Edit().EditPersonalAccount->maxLength(), 14) << "what the record holds";
}

TEST_F(ApartmentFormsTest, EditShowsTheStoredValuesAndSavesThemUnchangedOnlyOnYes) {
    OpenFilledAdd("7");
    Type(Add().EditTotalFloorArea, "45.5");
    Type(Add().EditNumRegPeopl, "3");
    Add().ComboBoxTypeRoom->setCurrentIndex(0);
    Add().ComboBoxMZK->setCurrentText("Да");
    Add().ButtonSend->Click();

    Apartments().StringGrid1SelectCell(6, 1);
    ASSERT_TRUE(Edit().isVisible());
    EXPECT_EQ(Edit().ComboBoxHouse->currentText(), "Стрийська 45");
    EXPECT_EQ(Edit().EditTotalFloorArea->text(), "45.5");
    EXPECT_EQ(Edit().EditNumRegPeopl->text(), "3");
    EXPECT_EQ(Edit().ComboBoxTypeRoom->currentText(), "житлове");
    EXPECT_EQ(Edit().ComboBoxMZK->currentText(), "Да");

    Type(Edit().EditName, "");
    Edit().ButtonSend->Click();
    EXPECT_FALSE(Edit().ErrorName->isHidden());
    Type(Edit().EditName, "Ірина");
    dialogs_.Answer(IDNO);
    Edit().ButtonSend->Click();
    EXPECT_TRUE(Edit().isVisible()) << "declining leaves the form open with the typed values";
    EXPECT_EQ(Edit().EditName->text(), "Ірина");

    dialogs_.Answer(IDYES);
    Edit().ButtonSend->Click();
    EXPECT_EQ(LastText(), "Абонент успішно оновлено");
    EXPECT_FALSE(Edit().isVisible());
    const auto stored = Stored(1);
    EXPECT_EQ(Cp1251ToUtf8(stored->name.view()), "Ірина");
    EXPECT_DOUBLE_EQ(stored->total_floor_area, 45.5);
    EXPECT_EQ(stored->num_reg_peopl, 3);
    EXPECT_EQ(stored->type_room, 0);
    EXPECT_EQ(stored->mzk, 1);
}

TEST_F(ApartmentFormsTest, UkrainianNamesRoundTripThroughAddListEditAndSave) {
    // The modifier-letter apostrophe has no code-page form: it is kept as the typographic one.
    OpenFilledAdd("1", "Ґудзь", "Мар'яна", "Її");
    Add().ButtonSend->Click();
    OpenFilledAdd("2", "Зоряʼна", "В’ячеслав", "Ігорович");
    Add().ButtonSend->Click();
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 1), "Ґудзь Мар'яна Її");
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 2), "Зоря’на В’ячеслав Ігорович");

    Type(Apartments().EditFilter, "зоряʼ");
    ASSERT_EQ(Apartments().StringGrid1->RowCount(), 2) << "typed as it is stored";
    Apartments().StringGrid1SelectCell(6, 1);
    EXPECT_EQ(Edit().EditSurname->text(), "Зоря’на");
    EXPECT_EQ(Edit().EditName->text(), "В’ячеслав");
    dialogs_.Answer(IDYES);
    Edit().ButtonSend->Click();
    Type(Apartments().EditFilter, "");
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 1), "Ґудзь Мар'яна Її");
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 2), "Зоря’на В’ячеслав Ігорович");
    const auto stored = Stored(1);
    EXPECT_EQ(Cp1251ToUtf8(stored->name.view()), "Мар'яна");
}

TEST_F(ApartmentFormsTest, TextTooLongForItsFieldIsCutAtACharacterBoundary) {
    const int aid = AddApartment(bid_, "3");
    ASSERT_TRUE(DbController->Database.Execute(
        Format("UPDATE app SET sname = '%s' WHERE aid = %i;", "Абвгґдеєжзиіїйклмнопрст", aid)
            .c_str()));
    Apartments().RefreshList(false);
    EXPECT_EQ(Cell(Apartments().StringGrid1, 3, 1), "Абвгґдеєжзиіїйклмно Олена Петрівна")
        << "the record's 19 characters, none broken";
}

TEST_F(ApartmentFormsTest, ATextIsStoredAsTheCodePageHoldsItOrMarkedWhenItCannotBe) {
    // Stored by another program: the modifier-letter apostrophe reads back as the typographic
    // one and is saved so, never as "?".
    const int aid = AddApartment(bid_, "3");
    ASSERT_TRUE(DbController->Database.Execute(
        Format("UPDATE app SET sname = 'Пʼятничко' WHERE aid = %i;", aid).c_str()));
    Apartments().RefreshList(false);
    Apartments().StringGrid1SelectCell(6, 1);
    EXPECT_EQ(Edit().EditSurname->text(), "П’ятничко");
    dialogs_.Answer(IDYES);
    Edit().ButtonSend->Click();
    EXPECT_EQ(LastText(), "Абонент успішно оновлено");
    EXPECT_EQ(Cp1251ToUtf8(DbController->SubscriberModel.GetSubscriberById(aid)->sname.view()),
              "П’ятничко");

    // "ł" has no form in the code page: the field is marked at once and nothing is stored.
    OpenFilledAdd("4", "Шевчук", "Łucja");
    EXPECT_FALSE(Add().ErrorName->isHidden());
    EXPECT_EQ(Add().EditName->toolTip(), "Цих символів не можна зберегти: Ł");
    const std::size_t boxes = dialogs_.Boxes().size();
    Add().ButtonSend->Click();
    EXPECT_EQ(dialogs_.Boxes().size(), boxes);
    EXPECT_FALSE(Add().ErrorName->isHidden());
    Type(Add().EditName, "Люція");
    EXPECT_TRUE(Add().ErrorName->isHidden());
    EXPECT_TRUE(Add().EditName->toolTip().isEmpty());
}

TEST_F(ApartmentFormsTest, EscapeAndEnterGoToAnOpenListBeforeTheForm) {
    Apartments().PanelButtonAdd->Click();
    Type(Add().EditSurname, "Шевчук");
    const auto keyToOpenList = [](Qt::Key key) {
        Add().ComboBoxHouse->showPopup();
        QWidget* list = QApplication::activePopupWidget();
        ASSERT_NE(list, nullptr);
        QTest::keyClick(list->focusWidget() != nullptr ? list->focusWidget() : list, key);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the list closed";
    };
    keyToOpenList(Qt::Key_Escape);
    EXPECT_TRUE(Add().isVisible()) << "the form stays";
    EXPECT_EQ(Add().EditSurname->text(), "Шевчук") << "with what was typed";
    keyToOpenList(Qt::Key_Return);
    EXPECT_EQ(Add().ComboBoxHouse->currentText(), "Стрийська 45") << "Enter took the item";
    EXPECT_TRUE(Add().isVisible());
    EXPECT_TRUE(dialogs_.Boxes().empty()) << "nothing was saved";

    // With the list closed, the keys are the form's.
    QTest::keyClick(Add().ComboBoxHouse, Qt::Key_Escape);
    EXPECT_FALSE(Add().isVisible());
    EXPECT_TRUE(Apartments().PanelBody->isVisible());
}
