#include "directory/import/ImportSummary.h"

#include <algorithm>

#include "Utils/Format.h"

namespace {
constexpr std::size_t kShownNotes = 10;
constexpr ImportLanguage kUkrainian = ImportLanguage::Ukrainian;
}  // namespace

std::string ImportSummaryText(const CImportResult& result, const std::string& path) {
    switch (result.outcome) {
        case ImportOutcome::CannotOpen:
            return "Не вдалося відкрити файл " + path;
        case ImportOutcome::NoBuilding:
            return "Об'єкт для додавання не знайдено";
        case ImportOutcome::NoRecords:
            return "У файлі " + path + " не знайдено жодного запису" +
                   (result.notes.empty() ? "" : ": перший рядок — заголовок, хоч схожий на запис");
        case ImportOutcome::Refused:
            return RefusalMessage(result.refusal) + " Жоден рядок файлу не збережено.";
        case ImportOutcome::DatabaseFailed:
            return "Помилка бази даних: жоден рядок файлу не збережено. Причина: " +
                   result.databaseReason;
        case ImportOutcome::Read:
            break;
    }
    std::string text = ImportCountsText(result, kUkrainian);
    const std::size_t shown = std::min(result.notes.size(), kShownNotes);
    for (std::size_t i = 0; i < shown; ++i)
        text += "\n" + ImportNoteText(result.notes[i], kUkrainian);
    const std::size_t more =
        result.notes.size() - shown + static_cast<std::size_t>(result.notesLeftOut);
    if (more > 0) text += Format("\n… і ще %zu", more);
    return text;
}
