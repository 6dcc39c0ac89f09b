#pragma once

#include "Utils/FixedText.h"

// One row of "pragma table_info".
struct CDataPragmaTableInfo {
    int cid = 0;
    CFixedText<50> name;
    CFixedText<40> type;
    int notnull = 0;
    CFixedText<50> dflt_value;
    int pk = 0;
};
