#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/simulator/SimulatedMeter.h"

// A meter written as "FAMILY:SERIAL[,KEY=VALUE|FLAG]...", for example
//   heat:12345678,q=250.00,t1=21.50,t2=18.05,clock=2025-01-31T14:05
//   water:87654321,v=12.345,bat=3.61,late=12000
// Keys: heat q_cooling q v t1 t2 hours; water v v_flow v_reverse bat minutes; both
// clock=YYYY-MM-DDThh:mm[:ss] or clock=now, as=SERIAL, trailing=N, late=MS, preamble=N (FE
// bytes, default 3), noise=N (bytes of line noise before them), endless=HH|noise|reply (the
// line never falls silent until the next request); flags silent and bad-checksum. False with
// `error` set when the text is not such a meter.
bool ParseMeterSpec(std::string_view text, CSimMeter& meter, std::string& error);

// One meter per line; blank lines and lines starting with # are skipped.
bool ParseMeterList(std::string_view text, std::vector<CSimMeter>& meters, std::string& error);

// The meters the simulator plays when it is given none.
std::vector<CSimMeter> DemoMeters();
