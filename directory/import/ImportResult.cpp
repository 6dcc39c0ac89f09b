#include "directory/import/ImportResult.h"

#include "Utils/EscapedText.h"
#include "Utils/Format.h"

namespace {
// Characters of the file's text a remark shows; the rest is cut.
constexpr std::size_t kEchoCharacters = 40;

// At most kEchoCharacters characters of UTF-8 text, "…" marking a cut.
std::string Excerpt(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) continue;
        if (++characters > kEchoCharacters) return std::string(text.substr(0, pos)) + "…";
    }
    return std::string(text);
}
}  // namespace

void CImportResult::Note(CImportNote note) {
    if (notes.size() >= kKeptNotes) {
        ++notesLeftOut;
        return;
    }
    note.text = Excerpt(note.text);
    notes.push_back(std::move(note));
}

void CImportResult::Skip(CImportNote note) {
    ++skipped;
    Note(std::move(note));
}

std::string ImportReasonText(const CImportNote& note, ImportLanguage language) {
    const bool uk = language == ImportLanguage::Ukrainian;
    const std::string shown = EscapedControls(note.text);
    const char* text = shown.c_str();
    switch (note.reason) {
        case ImportReason::UnknownKind:
            return Format(uk ? "невідомий тип \"%s\"" : "unknown kind \"%s\"", text);
        case ImportReason::TooFewFields:
            return Format(uk ? "замало полів (%s з %zu)" : "too few fields (%s of %zu)", text,
                          note.expected);
        case ImportReason::SerialOutOfRange:
            return Format(
                uk ? "серійний номер \"%s\" не з 1..99999999" : "serial \"%s\" out of 1..99999999",
                text);
        case ImportReason::PositionOutOfRange:
            return Format(uk ? "позиція на трубопроводі \"%s\" не 0 і не 1"
                             : "pipe position \"%s\" is not 0 or 1",
                          text);
        case ImportReason::BadDate:
            return Format(uk ? "дата \"%s\" не є датою у вигляді рррр-мм-дд чи дд.мм.рррр"
                             : "date \"%s\" is no date as yyyy-mm-dd or dd.mm.yyyy",
                          text);
        case ImportReason::MeterAlreadyStored:
            return Format(uk ? "пристрій %s уже збережено" : "meter %s already stored", text);
        case ImportReason::MeterNotFound:
            return Format(uk ? "пристрій %s не знайдено" : "meter %s not found", text);
        case ImportReason::NoApartmentNumber:
            return uk ? "немає номера приміщення" : "no apartment number";
        case ImportReason::ApartmentNumberTaken:
            return Format(
                uk ? "приміщення %s уже є в будинку" : "apartment %s already in the building",
                text);
        case ImportReason::ApartmentAmbiguous:
            return Format(uk ? "приміщення %s є в кількох будинках; вкажіть будинок у 4-му полі"
                             : "apartment %s found in more than one building; name the building "
                               "in a 4th field",
                          text);
        case ImportReason::NoBuilding:
            return Format(uk ? "немає будинку \"%s\"" : "no building \"%s\"", text);
        case ImportReason::ApartmentMissing:
            return Format(
                uk ? "немає приміщення %s; пристрій відв'язано" : "no apartment %s; meter unbound",
                text);
        case ImportReason::HeaderIsRecord:
            return uk ? "перший рядок має бути заголовком, а схожий на запис; його не збережено"
                      : "the first line should be the header but reads as a record; not stored";
    }
    return {};
}

std::string ImportNoteText(const CImportNote& note, ImportLanguage language) {
    return Format(language == ImportLanguage::Ukrainian ? "рядок %d: %s" : "line %d: %s", note.line,
                  ImportReasonText(note, language).c_str());
}

std::string ImportCountsText(const CImportResult& result, ImportLanguage language) {
    return Format(language == ImportLanguage::Ukrainian
                      ? "Збережено: %d, відв'язано: %d, пропущено: %d"
                      : "%d stored, %d unbound, %d skipped",
                  result.stored, result.unbound, result.skipped);
}

std::string ImportLeftOutText(int count, ImportLanguage language) {
    return Format(language == ImportLanguage::Ukrainian ? "ще зауважень, не показаних тут: %d"
                                                        : "%d more remarks not listed",
                  count);
}
