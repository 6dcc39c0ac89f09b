#include "directory/BuildingChoices.h"

#include <QComboBox>
#include <algorithm>

#include "app/ProgramObjects.h"
#include "app/toolkit/TextOrder.h"
#include "directory/RecordText.h"

std::optional<std::vector<CBuildingChoice>> BuildingChoices(CReadFailure* failure) {
    std::vector<CBuildingChoice> choices;
    const auto buildings = DbController->ObjectModel.GetObjects(failure);
    if (buildings == nullptr) return std::nullopt;
    for (const auto& building : *buildings) {
        choices.push_back({building->bid, FromRecordText(building->street.view()),
                           FromRecordText(building->no.view())});
    }
    std::stable_sort(choices.begin(), choices.end(),
                     [](const CBuildingChoice& a, const CBuildingChoice& b) {
                         return CompareTexts(a.Label(), b.Label()) < 0;
                     });
    return choices;
}

bool AddBuildingChoices(QComboBox& choice, std::vector<int>& ids, CReadFailure* failure) {
    const auto buildings = BuildingChoices(failure);
    if (!buildings) return false;
    for (const CBuildingChoice& building : *buildings) {
        choice.addItem(building.Label());
        ids.push_back(building.bid);
    }
    return true;
}
