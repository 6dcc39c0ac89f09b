#pragma once

#include <cstdint>
#include <memory>

#include "Utils/FixedText.h"
#include "database/models/DataObject.h"

// One apartment of a building; it owns its building record, loaded with it. Texts are
// Windows-1251.
class CDataSubscriber {
public:
    virtual ~CDataSubscriber() = default;

    std::unique_ptr<CDataObject> object;  // null until loaded
    int aid = 0;
    int bid = 0;
    CFixedText<6> no;      // apartment number
    CFixedText<15> licno;  // personal account
    CFixedText<20> sname;  // surname
    CFixedText<20> name;   // first name
    CFixedText<20> fname;  // patronymic
    double total_floor_area = 0;
    double heated_floor_area = 0;
    int num_reg_peopl = 0;       // registered residents
    std::uint8_t type_room = 0;  // 0 living, 1 non-living premises
    std::uint8_t mzk = 0;
};
