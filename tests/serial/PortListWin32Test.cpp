#include <gtest/gtest.h>

#include <algorithm>

#include "serial/ComPort.h"
#include "serial/PlayedLine.h"
#include "serial/PortList.h"

// The registry's SERIALCOMM key lists the COM ports; under Wine those of the prefix, which
// tools/windows/core-test.sh gives the played lines. A listed port opens by its path.
TEST(PortList, ListsTheRegistrysPortsAndEachOpensByItsPath) {
    const CPlayedLine line("worked");
    const std::vector<std::string> ports = ListSerialPorts();
    ASSERT_NE(std::find(ports.begin(), ports.end(), line.Port()), ports.end()) << line.Port();
    const std::string path = DevicePathOf(line.Port());
    EXPECT_EQ(path, "\\\\.\\" + line.Port());
    CComPort port(path.c_str(), 9600);
    EXPECT_EQ(port.Open(), ChannelOpening::Open);
    EXPECT_EQ(DevicePathOf("tcp:10.0.0.5:4001"), "tcp:10.0.0.5:4001");
}
