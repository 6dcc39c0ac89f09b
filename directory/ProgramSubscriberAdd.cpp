#include "directory/ProgramSubscriberAdd.h"

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/models/DataSubscriber.h"

TProgramSubscriberAdd::TProgramSubscriberAdd(QWidget* parent)
    : TApartmentForm(parent, Kind::Add, "Додати абонента") {
    setObjectName("ProgramSubscriberAdd");
    ButtonSend->OnClick = [this] { ButtonSendClick(); };
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
}

void TProgramSubscriberAdd::ResetForm() {
    ClearFields();
    FillBuildings();
}

void TProgramSubscriberAdd::ButtonSendClick() {
    CDataSubscriber subscriber;
    if (!GatherValid(subscriber)) return;
    if (DbController->SubscriberModel.InsertSubscriber(subscriber) == 0) {
        ShowMessageBox("Помилка під час додавання абонента", "", MB_ICONERROR);
        return;
    }
    ShowMessageBox("Абонент успішно додано", "", MB_ICONINFORMATION);
    ResetForm();
    hide();
    if (OnAdded) OnAdded();
}

void TProgramSubscriberAdd::ButtonCancelClick() {
    hide();
    if (OnCancelled) OnCancelled();
}
