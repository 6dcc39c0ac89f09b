#include "directory/RecordText.h"

#include "Utils/TextConversion.h"

std::string ToRecordText(const QString& text) {
    return Utf8ToCp1251(text.toStdString());
}

QString FromRecordText(std::string_view text) {
    return QString::fromStdString(Cp1251ToUtf8(text));
}

QString AsStored(const QString& text) {
    return FromRecordText(ToRecordText(text));
}

QStringList Unstorable(const QString& text) {
    const std::string found = UnstorableCharacters(text.toStdString());
    QStringList characters;
    for (std::size_t pos = 0; pos < found.size();) {
        std::size_t next = pos + 1;
        while (next < found.size() && (static_cast<unsigned char>(found[next]) & 0xC0) == 0x80)
            ++next;
        characters << QString::fromStdString(found.substr(pos, next - pos));
        pos = next;
    }
    return characters;
}
