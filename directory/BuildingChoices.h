#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "database/ReadFailure.h"

class QComboBox;

// A building as the directory's lists show it: its street and house, with its id.
struct CBuildingChoice {
    int bid;
    QString street;
    QString house;

    QString Label() const { return street + " " + house; }
};

// Every stored building in address order: by street, then house, numbers taken whole ("2"
// before "12" before "12а"). None when the buildings cannot be read, with why in `failure`.
std::optional<std::vector<CBuildingChoice>> BuildingChoices(CReadFailure* failure = nullptr);

// Appends every stored building to `choice` in address order, and its id to `ids`; false when
// the buildings cannot be read, with why in `failure`.
bool AddBuildingChoices(QComboBox& choice, std::vector<int>& ids, CReadFailure* failure = nullptr);
