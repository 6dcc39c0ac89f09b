#include "directory/FrameDeviceBind.h"

#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "app/ProgramObjects.h"
#include "app/toolkit/ComboBox.h"
#include "app/toolkit/MessageBox.h"
#include "app/toolkit/PanelButton.h"
#include "database/SQLite3Controller.h"
#include "directory/BuildingChoices.h"
#include "directory/RecordText.h"
#include "directory/import/MeterKinds.h"

namespace {
constexpr const char* kUnbind = "Відв'язати";
constexpr int kButtonGap = 12;
}  // namespace

TFrameDeviceBind::TFrameDeviceBind(QWidget* parent) : QWidget(parent) {
    setObjectName("FrameDeviceBind");
    setAutoFillBackground(true);
    rows_.push_back(NewFormRow("Серійний номер:", LabelSerialNumber2 = new QLabel, this));
    rows_.push_back(NewFormRow("Будинок:", ComboBoxBuild = new TComboBox, this));
    rows_.push_back(NewFormRow("Приміщення:", ComboBoxPremises = new TComboBox, this));
    ErrorPremises = rows_.back().mark;
    ComboBoxPremises->setEnabled(false);
    ButtonSend = NewFormButton("Зберегти", this);
    ButtonCancel = NewFormButton("Скасувати", this);
    QObject::connect(ComboBoxBuild, &QComboBox::activated, this, [this] { ComboBoxBuildChange(); });
    QObject::connect(ComboBoxPremises, &QComboBox::activated, this,
                     [this] { ErrorPremises->hide(); });
    ButtonSend->OnClick = [this] { ButtonSendClick(); };
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };
    InstallFormKeys(this, ButtonSend, ButtonCancel);
}

// Here, where the meter record is complete.
TFrameDeviceBind::~TFrameDeviceBind() = default;

bool TFrameDeviceBind::ShowBinding(int devid, int kind) {
    std::unique_ptr<CDevice> device = DeviceModelOf(*DbController, kind).GetDeviceById(devid);
    if (device == nullptr) return false;
    device_ = std::move(device);
    kind_ = kind;
    ErrorPremises->hide();
    LabelSerialNumber2->setNum(device_->serial);
    ComboBoxPremises->clear();
    apartmentIds_.assign(1, 0);
    ComboBoxPremises->addItem(kUnbind);
    int bid = 0;
    const auto apartment =
        device_->aid != 0 ? DbController->SubscriberModel.GetSubscriberById(device_->aid) : nullptr;
    if (apartment != nullptr && apartment->aid != 0) {
        bid = apartment->bid;
        FillApartments(bid);
        for (std::size_t i = 0; i < apartmentIds_.size(); ++i) {
            if (apartmentIds_[i] == device_->aid)
                ComboBoxPremises->setCurrentIndex(static_cast<int>(i));
        }
    }
    ComboBoxPremises->setEnabled(bid != 0);

    ComboBoxBuild->clear();
    buildingIds_.assign(1, 0);
    ComboBoxBuild->addItem(kUnbind);
    CReadFailure failure;
    if (!AddBuildingChoices(*ComboBoxBuild, buildingIds_, &failure))
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
    const auto chosen = std::find(buildingIds_.begin(), buildingIds_.end(), bid);
    ComboBoxBuild->setCurrentIndex(
        chosen == buildingIds_.end() ? 0 : static_cast<int>(chosen - buildingIds_.begin()));
    return true;
}

void TFrameDeviceBind::FillApartments(int bid) {
    ComboBoxPremises->clear();
    apartmentIds_.assign(1, 0);
    ComboBoxPremises->addItem(kUnbind);
    CReadFailure failure;
    const auto apartments = DbController->SubscriberModel.GetSubscribersByObject(bid, &failure);
    if (apartments == nullptr) {
        ShowMessageBox(CannotReadMessage(failure), "Помилка", MB_ICONERROR);
        return;
    }
    for (const auto& apartment : *apartments) {
        ComboBoxPremises->addItem(FromRecordText(apartment->no.view()));
        apartmentIds_.push_back(apartment->aid);
    }
}

void TFrameDeviceBind::ComboBoxBuildChange() {
    const int index = ComboBoxBuild->currentIndex();
    const int bid = index > 0 ? buildingIds_[static_cast<std::size_t>(index)] : 0;
    ComboBoxPremises->setEnabled(bid != 0);
    FillApartments(bid);
    ComboBoxPremises->setCurrentIndex(-1);
}

void TFrameDeviceBind::ButtonSendClick() {
    if (device_ == nullptr) return;
    int aid = 0;
    if (ComboBoxPremises->isEnabled()) {
        const int index = ComboBoxPremises->currentIndex();
        // A building chosen without an apartment names no target: unbinding then would drop
        // the meter's binding by accident, so nothing is stored until one is chosen.
        if (index < 0) {
            ErrorPremises->show();
            return;
        }
        aid = apartmentIds_[static_cast<std::size_t>(index)];
    }
    const bool stored = DeviceModelOf(*DbController, kind_).BindDevice(device_->devid, aid);
    if (OnStored) OnStored();
    if (!stored) {
        ShowMessageBox("Помилка під час прив'язки пристрою", "", MB_ICONERROR);
        return;
    }
    ShowMessageBox(aid != 0 ? "Пристрій успішно прив'язаний" : "Пристрій успішно відв'язаний", "",
                   MB_ICONINFORMATION);
    hide();
}

void TFrameDeviceBind::ButtonCancelClick() {
    hide();
}

void TFrameDeviceBind::resizeEvent(QResizeEvent*) {
    FrameCanResize();
}

void TFrameDeviceBind::FrameCanResize() {
    PlaceFormColumn(rows_, ButtonSend, ButtonCancel, width() / 2, kButtonGap);
}
