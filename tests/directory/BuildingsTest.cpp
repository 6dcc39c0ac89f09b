#include "DirectoryFixture.h"

TEST_F(DirectoryTest, ObjectButtonShowsTheDirectoryOverTheMainScreenAndBackReturns) {
    AddBuilding("Городоцька", "5");
    OpenDirectory();
    EXPECT_TRUE(FrameOrganization->isVisible());
    EXPECT_TRUE(FrameLoraMain->isVisible()) << "the main screen stays under the directory";
    EXPECT_FALSE(Buildings().isVisible()) << "the left-hand area is empty until a menu click";
    EXPECT_FALSE(Apartments().isVisible());

    FrameOrganization->PanelButonObject->Click();
    EXPECT_TRUE(Buildings().isVisible());
    EXPECT_EQ(Buildings().StringGrid1->RowCount(), 2);
    EXPECT_EQ(Cell(Buildings().StringGrid1, 0, 1), "Городоцька");

    FrameOrganization->PanelButtonBack->Click();
    EXPECT_FALSE(FrameOrganization->isVisible());
    EXPECT_TRUE(FrameLoraMain->isVisible());
    EXPECT_TRUE(dialogs_.Boxes().empty());
}

TEST_F(DirectoryTest, AddBuildingMarksEveryShortFieldThenStoresAndOffersItForApartments) {
    OpenDirectory();
    FrameOrganization->PanelButonObject->Click();
    Buildings().PanelButonAdd->Click();
    TFrameObjectAdd& add = *Buildings().FrameObjectAdd;
    ASSERT_TRUE(add.isVisible());

    Type(add.EditStreet, "Ша");
    Type(add.EditIndex, "79");
    QTest::keyClick(add.EditIndex, Qt::Key_Return);  // Enter sends the form
    EXPECT_FALSE(add.ErrorStreet->isHidden());
    EXPECT_FALSE(add.ErrorHouse->isHidden());
    EXPECT_FALSE(add.ErrorIndex->isHidden());
    EXPECT_TRUE(dialogs_.Boxes().empty());
    EXPECT_EQ(DbController->ObjectModel.GetObjects()->Count(), 0);

    Type(add.EditStreet, "Шув");
    Type(add.EditHouse, "1");
    Type(add.EditIndex, "790");
    add.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Об'єкт успішно додано");
    EXPECT_EQ(dialogs_.Boxes().back().flags, MB_ICONINFORMATION);
    EXPECT_FALSE(add.isVisible());
    EXPECT_EQ(Cell(Buildings().StringGrid1, 0, 1), "Шув");
    EXPECT_EQ(Apartments().ComboBoxObjectList->count(), 1) << "offered for apartments at once";

    Buildings().PanelButonAddClick();
    EXPECT_TRUE(add.EditStreet->text().isEmpty()) << "after an add the form opens empty";
    Type(add.EditStreet, "Незавершена");
    QTest::keyClick(add.EditStreet, Qt::Key_Escape);
    EXPECT_FALSE(add.isVisible());
    Buildings().PanelButonAddClick();
    EXPECT_EQ(add.EditStreet->text(), "Незавершена") << "a cancel keeps the typed texts";
}

TEST_F(DirectoryTest, EditBuildingAsksAndSavesOnYesOnlyAndTheListComesBackEitherWay) {
    const int bid = AddBuilding("Зелена", "10");
    OpenDirectory();
    FrameOrganization->PanelButonObject->Click();
    TFrameObjectEdit& edit = *Buildings().FrameObjectEdit;
    Buildings().StringGrid1SelectCell(0, 1);
    Buildings().StringGrid1SelectCell(1, 0);
    EXPECT_FALSE(edit.isVisible()) << "street cells and the header do nothing";

    Buildings().StringGrid1SelectCell(2, 1);
    ASSERT_TRUE(edit.isVisible());
    EXPECT_EQ(edit.EditStreet->text(), "Зелена");
    Type(edit.EditStreet, "Зелена бічна");
    dialogs_.Answer(IDNO);
    edit.ButtonSend->Click();
    EXPECT_EQ(dialogs_.Boxes().back().caption, "Редагування");
    EXPECT_FALSE(edit.isVisible()) << "declining closes the form and reloads the list";
    EXPECT_EQ(Cell(Buildings().StringGrid1, 0, 1), "Зелена");

    Buildings().StringGrid1SelectCell(2, 1);
    Type(edit.EditStreet, "Зелена бічна");
    Type(edit.EditHouse, "");
    edit.ButtonSend->Click();
    EXPECT_FALSE(edit.ErrorHouse->isHidden());
    EXPECT_TRUE(edit.isVisible());
    Type(edit.EditHouse, "10а");
    dialogs_.Answer(IDYES);
    edit.ButtonSend->Click();
    EXPECT_EQ(LastText(), "Об'єкт успішно оновлено");
    EXPECT_FALSE(edit.isVisible());
    EXPECT_EQ(Cell(Buildings().StringGrid1, 0, 1), "Зелена бічна");
    EXPECT_EQ(Cp1251ToUtf8(DbController->ObjectModel.GetObjectById(bid)->no.view()), "10а");
}

TEST_F(DirectoryTest, DeleteBuildingAsksWithItsAddressAndRefusesWhileItHasApartments) {
    const int kept = AddBuilding("Личаківська", "3");
    AddBuilding("Пекарська", "8");
    AddApartment(kept, "1");
    OpenDirectory();
    FrameOrganization->PanelButonObject->Click();

    dialogs_.Answer(IDYES);
    Buildings().StringGrid1SelectCell(3, 1);
    EXPECT_EQ(dialogs_.Boxes()[0].text, "Видалити об'єкт із адресою Личаківська, 3 ?");
    EXPECT_EQ(LastText(), "Помилка під час видалення об'єкта.");
    EXPECT_EQ(Buildings().StringGrid1->RowCount(), 3);

    Buildings().StringGrid1SelectCell(3, 2);  // no answer queued: No
    EXPECT_EQ(Buildings().StringGrid1->RowCount(), 3);
    dialogs_.Answer(IDYES);
    Buildings().StringGrid1SelectCell(3, 2);
    EXPECT_EQ(LastText(), "Об'єкт успішно вилучено.");
    EXPECT_EQ(Buildings().StringGrid1->RowCount(), 2);
    EXPECT_EQ(Cell(Buildings().StringGrid1, 0, 1), "Личаківська");
}
