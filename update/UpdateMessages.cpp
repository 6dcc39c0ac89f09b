#include "Utils/EscapedText.h"
#include "update/ProgramUpdate.h"

std::string FailureReason(const CUpdateResult& result) {
    const std::string detail = EscapedControls(result.detail);
    const std::string script = kScriptName;
    switch (result.failure) {
        case UpdateFailure::None:
            return {};
        case UpdateFailure::BadKey:
            return "the build's update key is no minisign public key";
        case UpdateFailure::NoPackList:
            return "no usable pack list (" + detail + ")";
        case UpdateFailure::EmptyPack:
            return "the pack list is empty";
        case UpdateFailure::UnsafeName:
            return "unsafe file name " + detail;
        case UpdateFailure::DuplicateName:
            return "two files of the pack meet at " + detail;
        case UpdateFailure::BadSize:
            return "bad size for " + detail;
        case UpdateFailure::TooLarge:
            return "too large: " + detail;
        case UpdateFailure::BadCrc:
            return "bad crc for " + detail;
        case UpdateFailure::NoManifest:
            return "the pack is not signed: no vevo.manifest";
        case UpdateFailure::NoSignature:
            return "the pack is not signed: no vevo.manifest.minisig";
        case UpdateFailure::BadSignature:
            return "the manifest's signature is not valid";
        case UpdateFailure::OtherKey:
            return "the manifest is signed with another key";
        case UpdateFailure::BadManifest:
            return "the signed manifest is unreadable";
        case UpdateFailure::WrongVersion:
            return "the signed manifest is for version " + detail;
        case UpdateFailure::Unlisted:
            return detail + " is not in the signed manifest";
        case UpdateFailure::SizeDiffers:
            return detail + " has another size in the signed manifest";
        case UpdateFailure::NotInPack:
            return detail + " of the signed manifest is not in the pack";
        case UpdateFailure::LinkInTheWay:
            return "a link is in the way of " + detail;
        case UpdateFailure::NotRegular:
            return "no regular file at " + detail;
        case UpdateFailure::ChunkUnanswered:
            return "no answer for a chunk of " + detail;
        case UpdateFailure::CrcMismatch:
            return "wrong crc after download of " + detail;
        case UpdateFailure::HashMismatch:
            return detail + " does not match the signed manifest";
        case UpdateFailure::TimedOut:
            return "the update took too long";
        case UpdateFailure::WriteFailed:
            return "could not write " + detail;
        case UpdateFailure::ScriptNotWritten:
            return "could not write " + script;
        case UpdateFailure::ScriptNotStarted:
            return "could not start " + script;
    }
    return "unknown";
}

std::string FailureMessage(const CUpdateResult& result) {
    const std::string detail = EscapedControls(result.detail);
    const std::string script = kScriptName;
    switch (result.failure) {
        case UpdateFailure::None:
            return {};
        case UpdateFailure::BadKey:
            return "Ключ перевірки оновлень у цій збірці хибний.";
        case UpdateFailure::NoPackList:
            return "Сервіс не надав список файлів оновлення.";
        case UpdateFailure::EmptyPack:
            return "Список файлів оновлення порожній.";
        case UpdateFailure::UnsafeName:
            return "Неприпустиме ім'я файлу в оновленні: " + detail;
        case UpdateFailure::DuplicateName:
            return "Файли оновлення збігаються іменами: " + detail;
        case UpdateFailure::BadSize:
        case UpdateFailure::BadCrc:
            return "Хибний опис файлу в оновленні: " + detail;
        case UpdateFailure::TooLarge:
            return "Файл оновлення завеликий: " + detail;
        case UpdateFailure::NoManifest:
        case UpdateFailure::NoSignature:
            return "Оновлення не підписане видавцем, його не встановлено.";
        case UpdateFailure::BadSignature:
            return "Підпис оновлення недійсний, його не встановлено.";
        case UpdateFailure::OtherKey:
            return "Оновлення підписане чужим ключем, його не встановлено.";
        case UpdateFailure::BadManifest:
            return "Підписаний перелік файлів оновлення хибний.";
        case UpdateFailure::WrongVersion:
            return "Підписаний перелік файлів належить іншій версії: " + detail;
        case UpdateFailure::Unlisted:
            return "Файлу немає в підписаному переліку: " + detail;
        case UpdateFailure::SizeDiffers:
            return "Розмір файлу не збігається з підписаним переліком: " + detail;
        case UpdateFailure::NotInPack:
            return "Файлу з підписаного переліку немає в оновленні: " + detail;
        case UpdateFailure::LinkInTheWay:
            return "Посилання на місці файлу чи теки оновлення: " + detail;
        case UpdateFailure::NotRegular:
            return "На місці файлу оновлення не звичайний файл: " + detail;
        case UpdateFailure::ChunkUnanswered:
            return "Сервіс не відповідає, файл: " + detail;
        case UpdateFailure::CrcMismatch:
            return "Файл завантажено з помилками: " + detail;
        case UpdateFailure::HashMismatch:
            return "Завантажений файл не збігається з підписаним переліком: " + detail;
        case UpdateFailure::TimedOut:
            return "Оновлення триває задовго, його перервано.";
        case UpdateFailure::WriteFailed:
            return "Не вдалося записати файл: " + detail;
        case UpdateFailure::ScriptNotWritten:
            return "Не вдалося записати " + script + ".";
        case UpdateFailure::ScriptNotStarted:
            return "Не вдалося запустити " + script + ".";
    }
    return {};
}
