#include "Utils/EscapedText.h"
#include "update/ProgramUpdate.h"

namespace {

// A failure in the command's words and in the operator's; "%s" stands for the detail.
struct CFailureText {
    const char* reason;
    const char* message;
};

CFailureText TextOf(UpdateFailure failure) {
    switch (failure) {
        case UpdateFailure::None:
            return {"", ""};
        case UpdateFailure::BadKey:
            return {"the build's update key is no minisign public key",
                    "Ключ перевірки оновлень у цій збірці хибний."};
        case UpdateFailure::NoPackList:
            return {"no usable pack list (%s)", "Сервіс не надав список файлів оновлення."};
        case UpdateFailure::EmptyPack:
            return {"the pack list is empty", "Список файлів оновлення порожній."};
        case UpdateFailure::UnsafeName:
            return {"unsafe file name %s", "Неприпустиме ім'я файлу в оновленні: %s"};
        case UpdateFailure::DuplicateName:
            return {"two files of the pack meet at %s", "Файли оновлення збігаються іменами: %s"};
        case UpdateFailure::BadSize:
            return {"bad size for %s", "Хибний опис файлу в оновленні: %s"};
        case UpdateFailure::TooLarge:
            return {"too large: %s", "Файл оновлення завеликий: %s"};
        case UpdateFailure::BadCrc:
            return {"bad crc for %s", "Хибний опис файлу в оновленні: %s"};
        case UpdateFailure::NoManifest:
            return {"the pack is not signed: no vevo.manifest",
                    "Оновлення не підписане видавцем, його не встановлено."};
        case UpdateFailure::NoSignature:
            return {"the pack is not signed: no vevo.manifest.minisig",
                    "Оновлення не підписане видавцем, його не встановлено."};
        case UpdateFailure::BadSignature:
            return {"the manifest's signature is not valid",
                    "Підпис оновлення недійсний, його не встановлено."};
        case UpdateFailure::OtherKey:
            return {"the manifest is signed with another key",
                    "Оновлення підписане чужим ключем, його не встановлено."};
        case UpdateFailure::BadManifest:
            return {"the signed manifest is unreadable",
                    "Підписаний перелік файлів оновлення хибний."};
        case UpdateFailure::WrongVersion:
            return {"the signed manifest is for version %s",
                    "Підписаний перелік файлів належить іншій версії: %s"};
        case UpdateFailure::Unlisted:
            return {"%s is not in the signed manifest", "Файлу немає в підписаному переліку: %s"};
        case UpdateFailure::SizeDiffers:
            return {"%s has another size in the signed manifest",
                    "Розмір файлу не збігається з підписаним переліком: %s"};
        case UpdateFailure::NotInPack:
            return {"%s of the signed manifest is not in the pack",
                    "Файлу з підписаного переліку немає в оновленні: %s"};
        case UpdateFailure::LinkInTheWay:
            return {"a link is in the way of %s", "Посилання на місці файлу чи теки оновлення: %s"};
        case UpdateFailure::NotRegular:
            return {"no regular file at %s", "На місці файлу оновлення не звичайний файл: %s"};
        case UpdateFailure::ChunkUnanswered:
            return {"no answer for a chunk of %s", "Сервіс не відповідає, файл: %s"};
        case UpdateFailure::CrcMismatch:
            return {"wrong crc after download of %s", "Файл завантажено з помилками: %s"};
        case UpdateFailure::HashMismatch:
            return {"%s does not match the signed manifest",
                    "Завантажений файл не збігається з підписаним переліком: %s"};
        case UpdateFailure::TimedOut:
            return {"the update took too long", "Оновлення триває задовго, його перервано."};
        case UpdateFailure::WriteFailed:
            return {"could not write %s", "Не вдалося записати файл: %s"};
        case UpdateFailure::ScriptNotWritten:
            return {"could not write %s", "Не вдалося записати %s."};
        case UpdateFailure::ScriptNotStarted:
            return {"could not start %s", "Не вдалося запустити %s."};
    }
    return {"unknown", ""};
}

// The text with its "%s" replaced by the detail, its control characters written out.
std::string Filled(const char* text, const CUpdateResult& result) {
    std::string filled = text;
    if (const std::size_t at = filled.find("%s"); at != std::string::npos)
        filled.replace(at, 2, EscapedControls(result.detail));
    return filled;
}

}  // namespace

std::string FailureReason(const CUpdateResult& result) {
    return Filled(TextOf(result.failure).reason, result);
}

std::string FailureMessage(const CUpdateResult& result) {
    return Filled(TextOf(result.failure).message, result);
}
