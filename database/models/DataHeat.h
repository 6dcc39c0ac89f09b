#pragma once

#include "Utils/FixedText.h"

// One heat reading: what the reply decoder makes and heat_data_current stores. Measured values
// travel as the decimal texts the decoder formats.
class CDataHeat {
public:
    virtual ~CDataHeat() = default;

    int devid = 0;
    int meter_code = 0;
    int serial = 0;
    CFixedText<20> date;
    CFixedText<10> q_cooling;
    CFixedText<10> q;
    CFixedText<10> v;
    CFixedText<10> t1;
    CFixedText<10> t2;
    CFixedText<10> dt;
    int running_time_hour = 0;
};
