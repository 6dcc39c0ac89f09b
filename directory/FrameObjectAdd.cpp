#include "directory/FrameObjectAdd.h"

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/models/DataObject.h"

TFrameObjectAdd::TFrameObjectAdd(QWidget* parent)
    : TBuildingForm(parent, "Додати об'єкт", {8, 36, 63, 91, 118}) {
    setObjectName("FrameObjectAdd");
    ButtonSend->OnClick = [this] { ButtonSendClick(); };
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
}

void TFrameObjectAdd::ButtonSendClick() {
    CDataObject object;
    if (!GatherValid(object)) return;
    if (DbController->ObjectModel.InsertObject(object) == 0) {
        ShowMessageBox("Помилка під час додавання об'єкту", "", MB_ICONERROR);
        return;
    }
    ShowMessageBox("Об'єкт успішно додано", "", MB_ICONINFORMATION);
    ResetForm();
    hide();
    if (OnAdded) OnAdded();
}

void TFrameObjectAdd::ButtonCancelClick() {
    hide();
    if (OnCancelled) OnCancelled();
}
