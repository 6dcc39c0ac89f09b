#include "update/UpdateScript.h"

#include <set>

std::vector<std::string> LinkCheckedPaths(const CScriptPlan& plan) {
    std::vector<std::string> paths;
    std::set<std::string> seen;
    auto add = [&](const std::string& path) {
        if (seen.insert(path).second) paths.push_back(path);
    };
    for (const std::string& path : plan.installed) {
        for (std::size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1))
            add(path.substr(0, slash));
        add(path);
        add(path + "_u");
    }
    add(plan.program);
    return paths;
}

WriteOutcome WriteScript(const std::filesystem::path& folder, const CScriptPlan& plan) {
    const std::string temporary = std::string(kScriptName) + "_u";
    const WriteOutcome written = WriteNewFolderFile(folder, temporary, ScriptText(plan));
    if (written != WriteOutcome::Written) return written;
    if (RenameFolderFile(folder, temporary, kScriptName)) return WriteOutcome::Written;
    RemoveFolderFile(folder, temporary);
    return WriteOutcome::Failed;
}
