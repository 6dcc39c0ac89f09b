#pragma once

#include "Utils/FixedText.h"

// The program's name, as the window's caption and `vevo --version` show it before the version.
inline constexpr const char* kProgramName = "Vevo";

// The fixed program information record: who this build is at the remote service and how to
// reach it. Filled from constants; nothing changes it after construction.
class CProgramInfo {
public:
    CProgramInfo();

    const char* GetDatabaseHost() const { return databaseHost_.c_str(); }
    const char* GetUserName() const { return userName_.c_str(); }
    const char* GetPassword() const { return password_.c_str(); }
    const char* GetDatabaseName() const { return databaseName_.c_str(); }
    int GetProjectId() const { return projectId_; }
    const char* GetGatewayHost() const { return gatewayHost_.c_str(); }
    const char* GetGatewayPath() const { return gatewayPath_.c_str(); }
    const char* GetVersion() const { return version_.c_str(); }
    const char* GetProjectKey() const { return projectKey_.c_str(); }
    // The publisher's minisign public key line; empty when the build trusts no key.
    const char* GetUpdatePublicKey() const { return updatePublicKey_.c_str(); }

private:
    CFixedText<100> databaseHost_;
    CFixedText<100> userName_;
    CFixedText<100> password_;
    CFixedText<100> databaseName_;
    int projectId_ = 0;
    CFixedText<50> gatewayHost_;
    CFixedText<50> gatewayPath_;
    CFixedText<10> version_;
    CFixedText<50> projectKey_;
    CFixedText<60> updatePublicKey_;
};
