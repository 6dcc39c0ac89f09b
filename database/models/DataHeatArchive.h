#pragma once

#include "database/models/DataHeat.h"
#include "database/models/DataObject.h"
#include "database/models/Device.h"

// One row of the heat archive report: the meter's serial and latest reading date in the
// CDataHeat part, the apartment number in CDataObject::no, the largest value of each column in
// the reading fields. The CDevice part stays empty. Names found in two bases (serial, devid)
// must be qualified: CDataHeat::serial.
class CDataHeatArchive : public CDevice, public CDataObject, public CDataHeat {};
