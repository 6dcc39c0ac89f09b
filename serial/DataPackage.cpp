#include "serial/DataPackage.h"

CDataPackage::CDataPackage(const char* /*label*/) {}
