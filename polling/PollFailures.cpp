#include "polling/PollFailures.h"

#include "Utils/Format.h"

std::vector<std::string> PollFailureLines(const CPollFailures& failures) {
    std::vector<std::string> lines;
    if (failures.unreadList) lines.push_back(CannotReadLine(*failures.unreadList));
    if (failures.notStored > 0) {
        lines.push_back(Format("%d %s could not be stored in local.db: %s", failures.notStored,
                               failures.notStored == 1 ? "reading" : "readings",
                               failures.notStoredReason.c_str()));
    }
    return lines;
}

std::string PollFailureMessage(const CPollFailures& failures) {
    std::string text;
    if (failures.unreadList) text = CannotReadMessage(*failures.unreadList);
    if (failures.notStored > 0) {
        if (!text.empty()) text += "\n";
        text += Format("Не вдалося зберегти до local.db показів: %d. Причина: %s",
                       failures.notStored, failures.notStoredReason.c_str());
    }
    return text;
}
