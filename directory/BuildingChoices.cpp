#include "directory/BuildingChoices.h"

#include <QComboBox>
#include <algorithm>

#include "app/ProgramObjects.h"
#include "app/toolkit/TextOrder.h"
#include "directory/RecordText.h"

std::vector<CBuildingChoice> BuildingChoices() {
    std::vector<CBuildingChoice> choices;
    const auto buildings = DbController->ObjectModel.GetObjects();
    if (buildings == nullptr) return choices;
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

void AddBuildingChoices(QComboBox& choice, std::vector<int>& ids) {
    for (const CBuildingChoice& building : BuildingChoices()) {
        choice.addItem(building.Label());
        ids.push_back(building.bid);
    }
}
