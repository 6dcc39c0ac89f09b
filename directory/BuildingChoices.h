#pragma once

#include <QString>
#include <vector>

class QComboBox;

// A building as the directory's lists show it: its street and house, with its id.
struct CBuildingChoice {
    int bid;
    QString street;
    QString house;

    QString Label() const { return street + " " + house; }
};

// Every stored building in address order: by street, then house, numbers taken whole ("2"
// before "12" before "12а"). Empty when the buildings cannot be read.
std::vector<CBuildingChoice> BuildingChoices();

// Appends every stored building to `choice` in address order, and its id to `ids`.
void AddBuildingChoices(QComboBox& choice, std::vector<int>& ids);
