#include "directory/FrameObjectEdit.h"

#include <QLabel>

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "database/models/DataObject.h"

TFrameObjectEdit::TFrameObjectEdit(QWidget* parent)
    : TBuildingForm(parent, "Зберегти", {16, 44, 71, 103, 130}), LabelBid(new QLabel(this)) {
    setObjectName("FrameObjectEdit");
    LabelBid->hide();
    ResetForm();
}

void TFrameObjectEdit::ResetForm() {
    TBuildingForm::ResetForm();
    LabelBid->clear();
}

void TFrameObjectEdit::ShowBuilding(const CDataObject& object) {
    ResetForm();
    LabelBid->setNum(object.bid);
    ShowFields(object);
}

bool TFrameObjectEdit::ButtonSendClick() {
    CDataObject object;
    object.bid = LabelBid->text().toInt();
    if (!GatherValid(object)) return true;
    if (ShowMessageBox("Ви дійсно бажаєте зберегти інформацію?", "Редагування",
                       MB_ICONWARNING | MB_YESNO) != IDYES) {
        return false;
    }
    if (!DbController->ObjectModel.UpdateObject(object)) {
        ShowMessageBox("Помилка під час оновлення об'єкта", "", MB_ICONERROR);
        return false;
    }
    ShowMessageBox("Об'єкт успішно оновлено", "", MB_ICONINFORMATION);
    ResetForm();
    hide();
    return false;
}
