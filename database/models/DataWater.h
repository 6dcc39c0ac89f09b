#pragma once

#include "Utils/FixedText.h"

// One water reading, cold or hot: what the reply decoder makes and the water readings tables
// store. Measured values travel as the decimal texts the decoder formats.
class CDataWater {
public:
    virtual ~CDataWater() = default;

    int devid = 0;
    int meter_code = 0;
    int serial = 0;
    CFixedText<20> date;
    CFixedText<10> v;
    CFixedText<10> v_flow;
    CFixedText<8> bat;
    int running_time_minute = 0;
    CFixedText<12> v_reverse;
};
