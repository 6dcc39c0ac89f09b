#include "directory/ProgramSubscriberEdit.h"

#include <QLabel>

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/models/DataSubscriber.h"

TProgramSubscriberEdit::TProgramSubscriberEdit(QWidget* parent)
    : TApartmentForm(parent, Kind::Edit, "Зберегти"), LabelId(new QLabel(this)) {
    setObjectName("ProgramSubscriberEdit");
    LabelId->hide();
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
}

void TProgramSubscriberEdit::ResetForm() {
    ClearFields();
    LabelId->clear();
    hide();
}

void TProgramSubscriberEdit::ShowApartment(const CDataSubscriber& subscriber) {
    LabelId->setNum(subscriber.aid);
    ShowFields(subscriber);
}

bool TProgramSubscriberEdit::ButtonSendClick() {
    CDataSubscriber subscriber;
    if (!GatherValid(subscriber)) return true;
    if (ShowMessageBox("Ви дійсно бажаєте зберегти інформацію?", "Редагування",
                       MB_ICONWARNING | MB_YESNO) != IDYES) {
        return false;
    }
    subscriber.aid = LabelId->text().toInt();
    if (!DbController->SubscriberModel.UpdateSubscriber(subscriber)) {
        ShowMessageBox("Ошибка во время обновления абонента", "", MB_ICONERROR);
        return false;
    }
    ShowMessageBox("Абонент успішно оновлено", "", MB_ICONINFORMATION);
    ResetForm();
    if (OnSaved) OnSaved();
    return false;
}

void TProgramSubscriberEdit::ButtonCancelClick() {
    hide();
    if (OnCancelled) OnCancelled();
}
