#include "directory/FrameDeviceAdd.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/SQLite3Controller.h"
#include "database/models/Device.h"
#include "directory/import/MeterKinds.h"

TFrameDeviceAdd::TFrameDeviceAdd(QWidget* parent) : TMeterForm(parent, true) {
    setObjectName("FrameDeviceAdd");
    QObject::connect(ComboBoxDeviceType, &QComboBox::currentIndexChanged, this,
                     [this] { ComboBoxDeviceTypeChange(); });
    QObject::connect(DateTimePickerInitialVerification, &QDateEdit::dateChanged, this,
                     [this] { DateTimePickerInitialVerificationChange(); });
    ButtonSend->OnClick = [this] { ButtonSendClick(); };
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    ResetForm();
    // The default dates' next verification shows from the start rather than an empty row.
    DateTimePickerInitialVerificationChange();
}

void TFrameDeviceAdd::ResetForm() {
    DateTimePickerDataInstall->setDate(QDate::currentDate());
    DateTimePickerInitialVerification->setDate(QDate::currentDate());
    ErrorSerialNumber->hide();
    SetSerial(0);
}

void TFrameDeviceAdd::ComboBoxDeviceTypeChange() {
    const bool heat = ComboBoxDeviceType->currentIndex() == MeterKindHeat;
    LabelPosition->setVisible(heat);
    ComboBoxPosition->setVisible(heat);
}

void TFrameDeviceAdd::DateTimePickerInitialVerificationChange() {
    LabelNextCalibrationDateValue->setText(
        NextVerificationText(DateTimePickerInitialVerification->date(), kCalibrationYears * 12));
}

void TFrameDeviceAdd::ButtonSendClick() {
    const int kind = ComboBoxDeviceType->currentIndex();
    const std::unique_ptr<CDevice> device = NewDeviceOf(kind);
    if (!GatherValid(*device)) return;
    CExecuteResult outcome;
    if (DeviceModelOf(*DbController, kind).InsertDevice(*device, &outcome) == 0) {
        const bool taken = outcome.code == SQLITE_CONSTRAINT_UNIQUE;
        ShowMessageBox(
            std::string("Помилка під час додавання пристрою.") + (taken ? kSerialTaken : ""),
            "Помилка", MB_ICONERROR);
        return;
    }
    ShowMessageBox("Пристрій успішно додано.", "", MB_ICONINFORMATION);
    ResetForm();
    hide();
    if (OnAdded) OnAdded();
}

void TFrameDeviceAdd::ButtonCancelClick() {
    hide();
}
