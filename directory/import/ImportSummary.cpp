#include "directory/import/ImportSummary.h"

#include <algorithm>

#include "Utils/Format.h"

namespace {
constexpr std::size_t kShownNotes = 10;
}  // namespace

std::string ImportSummaryText(const CImportResult& result, const std::string& path) {
    switch (result.outcome) {
        case ImportOutcome::CannotOpen:
            return "Не вдалося відкрити файл " + path;
        case ImportOutcome::NoBuilding:
            return "Об'єкт для додавання не знайдено";
        case ImportOutcome::DatabaseFailed:
            return "Помилка бази даних: жоден рядок файлу не збережено";
        case ImportOutcome::Read:
            break;
    }
    std::string text = ImportCountsText(result);
    const std::size_t shown = std::min(result.notes.size(), kShownNotes);
    for (std::size_t i = 0; i < shown; ++i) {
        const CImportNote& note = result.notes[i];
        text += Format("\nline %d: %s", note.line, ImportReasonText(note).c_str());
    }
    if (result.notes.size() > shown) text += Format("\n… (%zu more)", result.notes.size() - shown);
    return text;
}
