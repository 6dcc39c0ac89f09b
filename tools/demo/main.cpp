// Prepares the working directory for a look at polling without hardware: stores the meters the
// simulator plays (heat in the heat table, the first water meter as cold, the second as hot),
// and remembers the simulator's port. Meters already stored are left as they are.
#include <cstdio>

#include "app/ProgramObjects.h"
#include "tools/simulator/MeterSpec.h"

int main() {
    CProgramObjects program;
    int stored = 0;
    int waterMeters = 0;
    for (const CSimMeter& simulated : DemoMeters()) {
        CDeviceHeat meter;
        meter.serial = static_cast<int>(simulated.serial);
        meter.calibration_interval = 48;
        CDeviceBaseModel& model =
            simulated.family == SimFamily::Heat
                ? static_cast<CDeviceBaseModel&>(DbController->DeviceHeatModel)
            : waterMeters++ == 0
                ? static_cast<CDeviceBaseModel&>(DbController->DeviceWaterColdModel)
                : DbController->DeviceWaterHotModel;
        if (model.GetDeviceBySerial(simulated.serial) == nullptr && model.InsertDevice(meter) != 0)
            ++stored;
    }
    IniFile->SetValue("SERIAL", "COM", "/dev/ttyVEVO0");
    IniFile->SetValue("SERIAL", "BAUD", "9600");
    std::printf("%d demo meters stored; the port /dev/ttyVEVO0 at 9600 is remembered\n", stored);
    return 0;
}
