#include "app/ProgramInfo.h"

// VEVO_DATABASE_HOST, VEVO_GATEWAY_HOST and VEVO_UPDATE_PUBLIC_KEY come from the build
// configuration.
CProgramInfo::CProgramInfo()
    : databaseHost_(VEVO_DATABASE_HOST),
      userName_("local_kestra"),
      password_("Kp4!vT=}<,/e"),
      databaseName_("dorn_main"),
      projectId_(24),
      gatewayHost_(VEVO_GATEWAY_HOST),
      gatewayPath_("/rest"),
      version_("v.0.05"),
      projectKey_("tvx_veltara"),
      updatePublicKey_(VEVO_UPDATE_PUBLIC_KEY) {}
