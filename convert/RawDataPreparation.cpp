#include "convert/RawDataPreparation.h"

#include "base/Cp1250.h"
#include "base/FileIo.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "convert/Conversion.h"
#include "convert/DeviceRecognition.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// The first position at or after from that holds one of a set of characters, or
// size when there is none. Searches start at positions that only grow while one
// text is normalised, so remembering the last answer keeps the whole pass linear
// even when a letter never comes.
class NextOf {
public:
    NextOf(const char* text, qsizetype size, char first, char second)
        : m_text(text), m_size(size), m_first(first), m_second(second) {}

    qsizetype From(qsizetype from) {
        if (from >= m_lastFrom && from <= m_lastFound) return m_lastFound;
        qsizetype at = std::max(from, qsizetype(0));
        while (at < m_size && m_text[at] != m_first && m_text[at] != m_second) ++at;
        m_lastFrom = from;
        m_lastFound = at;
        return at;
    }

private:
    const char* m_text;
    qsizetype m_size;
    char m_first;
    char m_second;
    qsizetype m_lastFrom = -1;
    qsizetype m_lastFound = -2;
};

}  // namespace

QByteArray NormaliseSigns(QByteArray bytes) {
    // In place: the text only ever loses characters, so the write index never
    // passes the read index, and the look-ahead for letters and signs only reads
    // what has not been rewritten yet.
    char* text = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype w = 0;
    NextOf unitLetter(text, n, 'm', 'f');
    NextOf angleLetter(text, n, 'g', 'd');
    // One search per place that looks for a "+": each place asks from positions
    // that only grow, which is what keeps its remembered answer useful. Shared,
    // an angles sighting's second search would send the first one back to scan
    // the same stretch again for every "<" (quadratic on a run of "<").
    NextOf slopeSightingPlus(text, n, '+', '+');
    NextOf anglesZenithPlus(text, n, '+', '+');
    NextOf anglesDirectionPlus(text, n, '+', '+');
    const auto put = [text, &w](qsizetype from, qsizetype to) {
        if (from < to) std::memmove(text + w, text + from, static_cast<std::size_t>(to - from));
        w += std::max<qsizetype>(0, to - from);
    };
    // Copies text[from, to), leaving out text[from] when it is a "+".
    const auto putUnsigned = [text, &put](qsizetype from, qsizetype to) {
        if (from < to && text[from] == '+') ++from;
        put(from, to);
    };

    qsizetype p = 0;
    while (p < n) {
        const char c = text[p];
        if (c == '?') {
            // «?+DDDDDDDDm+ZZZZZZZ+DDDDDDDg»: distance with its sign and unit
            // letter, then the zenith angle and direction without their signs.
            const qsizetype u = unitLetter.From(p + 1);
            const qsizetype s = u < n ? slopeSightingPlus.From(u + 2) : n;
            const qsizetype a = s < n ? angleLetter.From(s + 2) : n;
            if (a < n) {
                put(p, u + 1);
                putUnsigned(u + 1, s + 1);
                putUnsigned(s + 1, a);
                text[w++] = text[a];
                p = a + 1;
                continue;
            }
        } else if (c == '<') {
            // «<+ZZZZZZZ++DDDDDDD+»: both angles lose their signs.
            const qsizetype b = (p + 1 < n && text[p + 1] == '+') ? p + 2 : p + 1;
            const qsizetype s = b < n ? anglesZenithPlus.From(b) : n;
            const qsizetype e = s < n ? anglesDirectionPlus.From(s + 2) : n;
            if (e < n) {
                text[w++] = '<';
                put(b, s + 1);
                putUnsigned(s + 1, e);
                text[w++] = '+';
                p = e + 1;
                continue;
            }
        }
        text[w++] = c;
        ++p;
        if ((c == '+' || c == 'm' || c == 'f') && p < n && text[p] == '+') ++p;
    }
    bytes.truncate(w);
    return bytes;
}

namespace {

// The instrument a run converts as, when it is not the stored "DeviceType": put
// back at the end of the run unless the parameter sheet has set a type since.
class DeviceForThisRun {
public:
    explicit DeviceForThisRun(ConversionSettings& settings) : m_settings(settings), m_stored(settings.deviceType) {}
    ~DeviceForThisRun() {
        if (m_used && m_settings.deviceType == m_usedType) m_settings.deviceType = m_stored;
    }
    DeviceForThisRun(const DeviceForThisRun&) = delete;
    DeviceForThisRun& operator=(const DeviceForThisRun&) = delete;

    void Use(DeviceType type) {
        m_used = true;
        m_usedType = static_cast<quint16>(type);
        m_settings.deviceType = m_usedType;
    }

private:
    ConversionSettings& m_settings;
    quint16 m_stored;
    quint16 m_usedType = 0;
    bool m_used = false;
};

// Decides the instrument of the run from what the data look like: on its own
// (recogniseDevice, saying which) or by asking when they clearly come from the
// other one. Data that fit neither are left to "DeviceType".
void ChooseDevice(const QString& path, const QByteArray& bytes, ConversionContext& context, DeviceForThisRun& device) {
    const std::optional<DeviceType> recognised = RecogniseDevice(bytes);
    const quint16 stored = context.settings.deviceType;
    if (context.recogniseDevice) {
        const quint16 used = recognised ? static_cast<quint16>(*recognised) : stored;
        if (recognised) device.Use(*recognised);
        context.prompter.Tell(TextFilled(recognised ? Texts::kDeviceRecognised : Texts::kDeviceNotRecognised,
                                         {DeviceName(used), QByteArray::number(used)}),
                              MessageIcon::Information, Topic::Notice);
        return;
    }
    if (!recognised || static_cast<quint16>(*recognised) == stored) return;
    const QByteArray text =
        TextFilled(Texts::kAskDeviceMismatch, {Cp1250::FromUnicode(QFileInfo(path).fileName()),
                                               DeviceName(static_cast<quint16>(*recognised)), DeviceName(stored)});
    if (context.prompter.Ask(Topic::DeviceMismatch, text, MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes)
        device.Use(*recognised);
}

}  // namespace

ConversionOutcome PrepareRawData(const QString& path, ConversionMode mode, ConversionContext& context) {
    context.receipt = ConversionReceipt();
    RawDataBuffer buffer;
    if (const FileError error = ReadWholeFile(path, buffer.bytes)) {
        context.prompter.ReportFileError(error);
        return ConversionOutcome::Failed;
    }
    DeviceForThisRun device(context.settings);
    ChooseDevice(path, buffer.bytes, context, device);
    if (context.settings.deviceType != static_cast<quint16>(DeviceType::Nts350))
        return RunConversion(std::move(buffer), mode, context);

    const TransferFindings findings = RemoveFraming(buffer.bytes);
    if (findings.Any()) {
        context.receipt.blockFindings = findings.count;
        context.receipt.findingsText = TransferFindingsText(findings);
        context.prompter.Tell(context.receipt.findingsText, MessageIcon::Exclamation, Topic::TransferFindings);
    }
    buffer.bytes = NormaliseSigns(std::move(buffer.bytes));
    buffer.bytes.squeeze();  // give back what the framing and signs took

    if (context.settings.Has(FLAG_KEEP_200) && mode == ConversionMode::Full) {
        const QString copyPath = context.file.basePath + QStringLiteral(".200");
        // The copy is the exact text that is converted; a copy that could not be
        // written whole stops the conversion, as one that cannot be created does.
        const OutputWritten copy =
            WriteOutputFile(copyPath, context.settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Question, context.prompter,
                            [&](ByteSink& sink) {
                                sink.Write(buffer.bytes.constData(), static_cast<std::size_t>(buffer.bytes.size()));
                            });
        if (copy == OutputWritten::Refused) return ConversionOutcome::Stopped;
        if (copy == OutputWritten::Failed) return ConversionOutcome::Failed;
        context.receipt.written.append(Cp1250::FromUnicode(context.file.fileTitle + QStringLiteral(".200")));
    }
    return RunConversion(std::move(buffer), mode, context);
}
