#include "serial/ProcessComPort.h"

CProcessComPort::CProcessComPort(const char* path, unsigned speed, const CLinkSettings& settings)
    : port_(path, speed, settings) {}

CProcessComPort::~CProcessComPort() = default;

void CProcessComPort::SendPackage(const CDataPackage& package) { port_.SendPackage(package); }

void CProcessComPort::ReceivePackage(CDataPackage& package) { port_.ReceivePackage(package); }
