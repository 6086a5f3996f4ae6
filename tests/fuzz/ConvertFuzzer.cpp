// Measured data of either instrument through preparation, the record parser and
// every writer of every mode. The input's first bytes choose the mode, "Flag",
// "DeviceType" (including stored values other than 0 and 1), the mean height,
// the header and the orientation marker, and how the user answers; the rest is
// the file. The outputs go to a temporary directory that lives as long as the
// process, so that later runs meet existing files and the overwrite question.

#include "convert/Conversion.h"
#include "tests/fuzz/FuzzInput.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// Answers every question from a byte of the input, two bits at a time.
class InputPrompter : public Prompter {
public:
    InputPrompter(quint16 answers, quint8 sheet) : m_answers(answers), m_sheet(sheet) {}

    Answer Ask(Topic, const QByteArray& text, MessageButtons buttons, MessageIcon) override {
        m_seen += text.size();
        if (buttons == MessageButtons::Ok) return Answer::Ok;
        const Answer answer = static_cast<Answer>(m_answers & 3);
        m_answers = static_cast<quint16>((m_answers >> 2) | (m_answers << 14));
        if (answer == Answer::Cancel && buttons != MessageButtons::YesNoCancel) return Answer::No;
        return answer == Answer::Ok ? Answer::Yes : answer;
    }

    // The sheet may change the instrument type and the mean height, down to
    // heights where the reduction is no longer a number.
    bool RunParameterSheet(ConversionSettings& settings) override {
        if (m_sheet & 1) settings.deviceType = m_sheet & 2 ? 1 : 0;
        if (m_sheet & 4) settings.jh = m_sheet & 8 ? -3188698.58 : -1.0e7;
        return (m_sheet & 16) != 0;
    }

private:
    quint16 m_answers;
    quint8 m_sheet;
    qsizetype m_seen = 0;
};

const ConversionMode kModes[] = {ConversionMode::Full, ConversionMode::HorizontalDistances,
                                 ConversionMode::StationHeaders, ConversionMode::DxfExport};

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    if (!dir.isValid()) std::abort();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const ConversionMode mode = kModes[input.Byte() % 4];
    ConversionSettings settings;
    settings.flag = input.Word();
    const quint8 device = input.Byte();
    settings.deviceType = device < 0xF0 ? device % 2 : device;
    const quint16 answers = input.Word();
    const quint8 sheet = input.Byte();
    settings.head = input.Text(24);
    settings.orMarker = input.Text(3);
    const bool dxfDraws = input.Byte() & 1;

    const QString path = WorkDir().filePath(QStringLiteral("job.sdt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(input.Rest());
    }

    DocumentState document;
    document.RememberChosenFile(path);
    InputPrompter prompter(answers, sheet);
    double sum = 0;
    ConversionContext context{settings, document, prompter, [&](const SurveyRecordList& records) {
                                  for (const SurveyRecord& r : records) sum += r.x + r.y + r.z + r.name.size();
                                  return dxfDraws;
                              }};
    PrepareRawData(path, mode, context);
    return 0;
}
