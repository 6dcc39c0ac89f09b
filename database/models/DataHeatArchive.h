#pragma once

#include "Utils/FixedText.h"
#include "database/models/DataHeat.h"
#include "database/models/DataObject.h"
#include "database/models/Device.h"
#include "database/models/StoredNumber.h"

// One row of the heat archive report: the meter's serial and latest reading date in the
// CDataHeat part, the apartment number in CDataObject::no. The CDevice part and the reading
// part's value texts stay empty: those texts hold nine characters, which an energy counter
// outgrows, so the values come as the numbers below. Names found in two bases (serial, devid)
// must be qualified: CDataHeat::serial.
class CDataHeatArchive : public CDevice, public CDataObject, public CDataHeat {
public:
    // The largest value of each column in the range.
    CStoredNumber max_q_cooling, max_q, max_v, max_t1, max_t2, max_dt;
    // The range's earliest reading, and the heat energy at it and at the latest one.
    CFixedText<20> first_date;
    CStoredNumber first_q, last_q;
};
