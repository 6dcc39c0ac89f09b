#pragma once

#include "serial/ComPort.h"
#include "serial/DataPackage.h"
#include "serial/LinkSettings.h"

// The program's serial link: at most one exists, made by Connect and used by the polling thread.
// The port is opened on construction (the operator is asked to retry when it will not open) and
// closed on destruction.
class CProcessComPort {
public:
    CProcessComPort(const char* path, unsigned speed, const CLinkSettings& settings = {});
    virtual ~CProcessComPort();  // closes the port
    CProcessComPort(const CProcessComPort&) = delete;
    CProcessComPort& operator=(const CProcessComPort&) = delete;

    void SendPackage(const CDataPackage& package);
    void ReceivePackage(CDataPackage& package);

    const CComPort& Port() const { return port_; }

private:
    CComPort port_;
};
