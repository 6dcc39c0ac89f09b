#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/ProgramInfo.h"
#include "update/Json.h"
#include "update/QueryClient.h"

// One answered remote call: the parsed reply, or why there is none.
struct CServiceReply {
    PostStatus status = PostStatus::Ok;
    std::unique_ptr<JSONValue> root;

    // The root Array's elements, or null: no answer, or a reply that is no Array.
    const JSONArray* Elements() const { return RootArray(root.get()); }
    // Why Elements() is null, for a one-line message.
    std::string Problem() const;
};

// The four procedure calls of the service, posted through the gateway to the program's
// remote database.
class CRemoteService {
public:
    CRemoteService(const CProgramInfo& info, CGatewayAddress gateway)
        : info_(info), client_(std::move(gateway)) {}

    const CProgramInfo& Info() const { return info_; }

    CServiceReply Call(std::string_view sql, const CPostLimits& limits) const;

    std::string IdentifyCall() const;
    std::string ProjectInfoCall(const std::string& clientId, const std::string& finger) const;
    std::string PackListCall(const std::string& clientId, const std::string& version,
                             const std::string& finger) const;
    std::string ChunkCall(const std::string& clientId, const std::string& version,
                          const std::string& fileId, int offset, int length) const;

private:
    const CProgramInfo& info_;
    CQueryClient client_;
};
