#include "update/RemoteService.h"

#include "Utils/Format.h"

std::string CServiceReply::Problem() const {
    if (status != PostStatus::Ok) return PostStatusText(status);
    if (root == nullptr) return "reply is no JSON";
    if (!root->IsArray()) return "reply is no list";
    return {};
}

CServiceReply CRemoteService::Call(std::string_view sql, const CPostLimits& limits) const {
    CServiceReply reply;
    std::string body;
    reply.status =
        client_.PostQuery(info_.GetGatewayPath(), BuildQueryForm(info_, sql), body, limits);
    if (reply.status == PostStatus::Ok) reply.root = ParseJson(WidenBytes(body));
    return reply;
}

std::string CRemoteService::IdentifyCall() const {
    return "call identify();";
}

std::string CRemoteService::ProjectInfoCall(const std::string& clientId,
                                            const std::string& finger) const {
    return Format("call dorn_main.get_project_info(%s, '%s', '%s');", clientId.c_str(),
                  finger.c_str(), info_.GetProjectKey());
}

std::string CRemoteService::PackListCall(const std::string& clientId, const std::string& version,
                                         const std::string& finger) const {
    return Format("call %s.get_project_pack(%s, '%s', '%i', '%s');", info_.GetDatabaseName(),
                  clientId.c_str(), version.c_str(), info_.GetProjectId(), finger.c_str());
}

std::string CRemoteService::ChunkCall(const std::string& clientId, const std::string& version,
                                      const std::string& fileId, int offset, int length) const {
    return Format("call %s.fetch_file(%s, '%s', %s, %i, %i);", info_.GetDatabaseName(),
                  clientId.c_str(), version.c_str(), fileId.c_str(), offset, length);
}
