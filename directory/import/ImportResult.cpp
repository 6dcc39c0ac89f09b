#include "directory/import/ImportResult.h"

#include "Utils/Format.h"

std::string ImportReasonText(const CImportNote& note) {
    const char* text = note.text.c_str();
    switch (note.reason) {
        case ImportReason::UnknownKind:
            return Format("unknown kind \"%s\"", text);
        case ImportReason::TooFewFields:
            return Format("too few fields (%s)", text);
        case ImportReason::SerialOutOfRange:
            return Format("serial \"%s\" out of 1..99999999", text);
        case ImportReason::PositionOutOfRange:
            return Format("pipe position \"%s\" is not 0 or 1", text);
        case ImportReason::MeterAlreadyStored:
            return Format("meter %s already stored", text);
        case ImportReason::MeterNotFound:
            return Format("meter %s not found", text);
        case ImportReason::NoApartmentNumber:
            return "no apartment number";
        case ImportReason::ApartmentNumberTaken:
            return Format("apartment %s already in the building", text);
        case ImportReason::ApartmentAmbiguous:
            return Format("apartment %s found in more than one building", text);
    }
    return {};
}

std::string ImportCountsText(const CImportResult& result) {
    return Format("%d stored, %d unbound, %d skipped", result.stored, result.unbound,
                  result.skipped);
}
