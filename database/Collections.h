#pragma once

#include "database/OwningArray.h"

class CDevice;
class CDataObject;
class CDataSubscriber;
class CDataHeat;
class CDataWater;
class CDataHeatArchive;
class CDataWaterArchive;
struct CDataPragmaTableInfo;

// The result collections the models hand out; whoever receives one deletes it.
using CArrayDevice = COwningArray<CDevice>;
using CArrayDataObject = COwningArray<CDataObject>;
using CArrayDataSubscriber = COwningArray<CDataSubscriber>;
using CArrayDataHeat = COwningArray<CDataHeat>;
using CArrayDataWater = COwningArray<CDataWater>;
using CArrayDataHeatArchive = COwningArray<CDataHeatArchive>;
using CArrayDataWaterArchive = COwningArray<CDataWaterArchive>;
using CArrayDataPragmaTableInfo = COwningArray<CDataPragmaTableInfo>;
