#include "directory/ApartmentRemoval.h"

#include <string>

#include "Utils/Format.h"
#include "app/ProgramObjects.h"
#include "app/toolkit/MessageBox.h"
#include "database/models/SubscriberRemoval.h"
#include "directory/ApartmentTexts.h"
#include "directory/RecordText.h"

namespace {

bool HasBoundMeters(int aid) {
    for (CDeviceBaseModel* model :
         {static_cast<CDeviceBaseModel*>(&DbController->DeviceHeatModel),
          static_cast<CDeviceBaseModel*>(&DbController->DeviceWaterColdModel),
          static_cast<CDeviceBaseModel*>(&DbController->DeviceWaterHotModel)}) {
        const auto meters = model->GetDevicesByApartment(aid);
        if (meters != nullptr && meters->Count() > 0) return true;
    }
    return false;
}

bool Confirmed(const std::string& text, const char* caption) {
    return ShowMessageBox(text, caption, MB_ICONWARNING | MB_YESNO) == IDYES;
}

}  // namespace

bool RemoveApartment(const CDataSubscriber& subscriber) {
    const std::string address = AddressOf(subscriber).toStdString();
    const std::string number = FromRecordText(subscriber.no.view()).toStdString();
    if (!Confirmed(Format("%s %s, %s?", "Видалити абонента", address.c_str(), number.c_str()),
                   "Видалення")) {
        return false;
    }
    bool deleted = false;
    if (HasBoundMeters(subscriber.aid) &&
        !Confirmed(Format("%s %s, %s?", "Відвязати усі пристрої від приміщення: ", address.c_str(),
                          number.c_str()),
                   "Відвязка пристроїв")) {
        // Still bound, the apartment is refused: the failure message follows.
        deleted = DbController->SubscriberModel.DeleteSubscriber(subscriber.aid);
    } else {
        deleted = DeleteSubscriberWithDevices(*DbController, subscriber.aid);
    }
    if (!deleted) {
        ShowMessageBox("Помилка під час видалення абонента", "", MB_ICONERROR);
        return false;
    }
    ShowMessageBox("Абонент успішно видалено", "", MB_ICONINFORMATION);
    return true;
}

bool RemoveApartments(const std::vector<int>& aids) {
    const int count = static_cast<int>(aids.size());
    if (!Confirmed(Format("%s %i?",
                          "Ви бажаєте відвязати лічильники від приміщень та видалити ці "
                          "приміщення у кількості ",
                          count),
                   "Видалення вибраних приміщень")) {
        return false;
    }
    int deleted = 0;
    for (int aid : aids) deleted += DeleteSubscriberWithDevices(*DbController, aid) ? 1 : 0;
    ShowMessageBox(Format("Видалення вибраних приміщень. \n Успішно видалено: %i\n Не "
                          "видалилось: %i",
                          deleted, count - deleted),
                   "", MB_ICONINFORMATION);
    return true;
}
