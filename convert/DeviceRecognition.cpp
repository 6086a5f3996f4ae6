#include "convert/DeviceRecognition.h"

#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QFileInfo>

#include <cstring>

namespace {

// A keyword line: the keyword at the line's start and a blank after it (the data
// start in column 8).
bool IsKeywordLine(const char* at, const char* end) {
    static constexpr const char* kKeywords[] = {"STN ", "SS ", "BS ", "HV ", "SD ", "UNITS "};
    for (const char* keyword : kKeywords) {
        const std::size_t size = std::strlen(keyword);
        if (static_cast<std::size_t>(end - at) >= size && std::memcmp(at, keyword, size) == 0) return true;
    }
    return false;
}

}  // namespace

std::optional<DeviceType> RecogniseDevice(const QByteArray& bytes) {
    const char* const begin = bytes.constData();
    const char* const end = begin + bytes.size();
    qint64 markers = 0;
    qint64 keywordLines = 0;
    bool lineStart = true;
    for (const char* at = begin; at < end; ++at) {
        const char c = *at;
        if (lineStart && IsKeywordLine(at, end)) ++keywordLines;
        lineStart = c == '\r' || c == '\n';
        if (c == '_' && at + 1 < end && (at[1] == '\'' || at[1] == '+' || at[1] == ':')) ++markers;
    }
    if (markers > 0 && keywordLines * 4 <= markers) return DeviceType::Nts350;
    if (keywordLines > 0 && markers * 4 <= keywordLines) return DeviceType::Nts660;
    return std::nullopt;
}

QByteArray DeviceName(DeviceType deviceType) {
    switch (deviceType) {
        case DeviceType::Nts350:
            return Text(Texts::kNts350);
        case DeviceType::Nts660:
            return Text(Texts::kNts660);
    }
    return TextFilled(Texts::kUnknownDevice, {QByteArray::number(StoredValue(deviceType))});
}

DeviceType ChooseDevice(const QString& path, const QByteArray& bytes, DeviceType stored, bool recognise,
                        Prompter& prompter) {
    const std::optional<DeviceType> recognised = RecogniseDevice(bytes);
    if (recognise) {
        const DeviceType used = recognised.value_or(stored);
        prompter.Tell(TextFilled(recognised ? Texts::kDeviceRecognised : Texts::kDeviceNotRecognised,
                                 {DeviceName(used), QByteArray::number(StoredValue(used))}),
                      MessageIcon::Information, Topic::Notice);
        return used;
    }
    if (!recognised || *recognised == stored) return stored;
    const QByteArray text = TextFilled(Texts::kAskDeviceMismatch, {Cp1250::FromUnicode(QFileInfo(path).fileName()),
                                                                   DeviceName(*recognised), DeviceName(stored)});
    const Answer answer = prompter.Ask(Topic::DeviceMismatch, text, MessageButtons::YesNo, MessageIcon::Question);
    return answer == Answer::Yes ? *recognised : stored;
}
