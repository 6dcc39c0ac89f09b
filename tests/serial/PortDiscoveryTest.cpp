#include <gtest/gtest.h>

#include <filesystem>

#include "app/IniFile.h"
#include "serial/NetworkAddress.h"
#include "serial/PortDiscovery.h"
#include "serial/TerminalPorts.h"
#include "support/TempWorkDir.h"
#include "tools/simulator/MeterSimulator.h"

namespace fs = std::filesystem;

namespace {
// A terminal as the kernel lists it; `uartType` < 0 writes no type file.
void AddTerminal(const CPortPlaces& places, const std::string& name, bool hardware,
                 int uartType = -1) {
    fs::create_directories(places.terminals / name);
    if (hardware) fs::create_directories(places.terminals / name / "device");
    if (uartType >= 0) WriteFile(places.terminals / name / "type", std::to_string(uartType) + "\n");
}

CPortPlaces MakePlaces(const CTempWorkDir& dir) {
    const CPortPlaces places{dir.Path() / "tty", dir.Path() / "dev"};
    fs::create_directories(places.terminals);
    fs::create_directories(places.devices);
    return places;
}
}  // namespace

TEST(PortDiscovery, ListsTheSerialDevicesPresentInAStableOrder) {
    CTempWorkDir dir;
    const CPortPlaces places = MakePlaces(dir);
    AddTerminal(places, "ttyS10", true, 4);
    AddTerminal(places, "ttyS2", true, 4);
    AddTerminal(places, "ttyS1", true, 0);  // no UART behind it
    AddTerminal(places, "ttyUSB0", true);
    AddTerminal(places, "ttyACM0", true);  // gone from the device folder
    AddTerminal(places, "tty1", false);    // a virtual console
    for (const char* device : {"ttyS10", "ttyS2", "ttyS1", "ttyUSB0", "tty1"}) {
        WriteFile(places.devices / device, "");
    }
    EXPECT_EQ(ListSerialPortsIn(places), (std::vector<std::string>{"ttyS2", "ttyS10", "ttyUSB0"}));
}

TEST(PortDiscovery, ListsSimulatedPortsWhileTheyLive) {
    CTempWorkDir dir;
    const CPortPlaces places = MakePlaces(dir);
    CMeterSimulator simulator({});
    std::string error;
    ASSERT_TRUE(simulator.Start(error)) << error;
    ASSERT_TRUE(simulator.LinkAs((places.devices / "ttyVEVO0").string(), error)) << error;
    fs::create_symlink(dir.Path() / "nowhere", places.devices / "ttyVEVO1");  // left behind
    WriteFile(places.devices / "ttyVEVO2", "");                               // not a link
    EXPECT_EQ(ListSerialPortsIn(places), (std::vector<std::string>{"ttyVEVO0"}));
}

TEST(PortDiscovery, TheSimulatorsLinkGoesWithItAndReplacesOnlyLinks) {
    CTempWorkDir dir;
    const fs::path link = dir.Path() / "ttyVEVO0";
    fs::create_symlink(dir.Path() / "stale", link);
    {
        CMeterSimulator simulator({});
        std::string error;
        ASSERT_TRUE(simulator.Start(error)) << error;
        ASSERT_TRUE(simulator.LinkAs(link.string(), error)) << error;
        EXPECT_EQ(fs::read_symlink(link), simulator.PortPath());
        WriteFile(dir.Path() / "file", "keep");
        EXPECT_FALSE(simulator.LinkAs((dir.Path() / "file").string(), error));
        EXPECT_EQ(ReadFile(dir.Path() / "file"), "keep");
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(PortDiscovery, MissingPlacesGiveAnEmptyList) {
    CTempWorkDir dir;
    EXPECT_TRUE(ListSerialPortsIn({dir.Path() / "none", dir.Path() / "none"}).empty());
}

TEST(PortDiscovery, TheDevicePathIsTheDeviceFolderAndTheNameOrTheNetworkName) {
    EXPECT_EQ(DevicePathOf("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePathOf("ttyVEVO0"), "/dev/ttyVEVO0");
    EXPECT_EQ(DevicePathOf("tcp:192.168.1.50:4001"), "tcp:192.168.1.50:4001");
}

TEST(PortDiscovery, NetworkLinksComeFromConfigWellFormedAndInOrder) {
    CTempWorkDir dir;
    EXPECT_TRUE(ListNetworkPorts(CIniFile()).empty()) << "no config.ini";
    WriteFile("config.ini",
              "[SERIAL]\r\nNETWORK_PORTS = tcp:192.168.1.50:4001 ,\t tcp:moxa-1.local:950,"
              "tcp:[fe80::1]:4001,,ttyUSB0, tcp:fe80::1:4001,tcp:nohost,tcp::4001,tcp:a b:1,"
              "tcp:10.0.0.6:65536,tcp:10.0.0.6:0, tcp:10.0.0.7:4002\r\n");
    EXPECT_EQ(ListNetworkPorts(CIniFile()),
              (std::vector<std::string>{"tcp:192.168.1.50:4001", "tcp:moxa-1.local:950",
                                        "tcp:[fe80::1]:4001", "tcp:10.0.0.7:4002"}));
}

TEST(PortDiscovery, ANetworkNameGivesItsHostAndPort) {
    const auto v4 = NetworkAddressOf("tcp:192.168.1.50:4001");
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->host, "192.168.1.50");
    EXPECT_EQ(v4->port, "4001");
    const auto v6 = NetworkAddressOf("tcp:[::1]:950");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    EXPECT_FALSE(NetworkAddressOf("/dev/ttyUSB0"));
    EXPECT_TRUE(IsNetworkPortName("tcp:nohost")) << "malformed, but never a device path";
}
