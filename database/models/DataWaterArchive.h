#pragma once

#include "Utils/FixedText.h"
#include "database/models/DataObject.h"
#include "database/models/DataWater.h"
#include "database/models/Device.h"
#include "database/models/StoredNumber.h"

// One row of a water archive report, laid out like CDataHeatArchive: serial, latest date and
// the running time in the CDataWater part (qualify: CDataWater::serial), the apartment number
// in CDataObject::no, the values as numbers below.
class CDataWaterArchive : public CDevice, public CDataObject, public CDataWater {
public:
    // The largest value of each column in the range.
    CStoredNumber max_v, max_v_flow, max_bat, max_v_reverse;
    // The range's earliest reading, and the volume at it and at the latest one.
    CFixedText<20> first_date;
    CStoredNumber first_v, last_v;
};
