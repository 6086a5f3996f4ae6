#include "base/OutputWriting.h"

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/ReplacementFile.h"
#include "base/Texts.h"

#include <QFileInfo>

#include <memory>
#include <vector>

namespace {

// "job.zap, job.asc": the names as the messages list them.
QByteArray FileNames(const QStringList& paths) {
    QList<QByteArray> names;
    for (const QString& path : paths) names.append(Cp1250::FromUnicode(QFileInfo(path).fileName()));
    return names.join(", ");
}

}  // namespace

OutputSet::OutputSet(Prompter& prompter, bool askOverwrite, MessageIcon questionIcon)
    : m_prompter(prompter), m_askOverwrite(askOverwrite), m_questionIcon(questionIcon) {}

void OutputSet::AddInput(const QString& path) { m_inputs.append(path); }

void OutputSet::Add(const QString& path, Writer write) { m_outputs.append({path, std::move(write)}); }

OutputWritten OutputSet::Confirm() {
    m_confirmed = true;
    m_existing.clear();
    for (const Output& output : m_outputs) {
        for (const QString& input : m_inputs) {
            if (!IsSameFile(output.path, input)) continue;
            m_prompter.Tell(TextFilled(Texts::kOutputIsInput, {DisplayPath(output.path), DisplayPath(input)}));
            return OutputWritten::Failed;
        }
    }
    for (const Output& output : m_outputs) {
        if (!FileExists(output.path)) continue;
        if (QFileInfo(output.path).isFile()) m_existing.append(output.path);
        if (!m_askOverwrite) continue;
        const Answer answer = m_prompter.Ask(Topic::Overwrite, TextWith(Texts::kFileExists, DisplayPath(output.path)),
                                             MessageButtons::YesNo, m_questionIcon);
        if (answer != Answer::Yes) return OutputWritten::Refused;
    }
    return OutputWritten::Written;
}

OutputWritten OutputSet::Write() {
    m_replaced.clear();
    if (!m_confirmed) {
        if (const OutputWritten confirmed = Confirm(); confirmed != OutputWritten::Written) return confirmed;
    }
    // Every new version whole and on the disk beside its target first; the files go
    // (and their temporaries with them) at the first that fails.
    std::vector<std::unique_ptr<ReplacementFile>> files;
    for (const Output& output : m_outputs) {
        auto file = std::make_unique<ReplacementFile>();
        FileError error = file->Create(output.path);
        if (!error) {
            output.write(*file);
            error = file->Prepare();
        }
        if (error) {
            m_prompter.ReportFileError(error, NotWrittenText(error));
            return OutputWritten::Failed;
        }
        files.push_back(std::move(file));
    }
    // Then the renames, each in one step.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const FileError error = files[i]->Commit()) {
            m_prompter.ReportFileError(error, m_replaced.isEmpty()
                                                  ? NotWrittenText(error)
                                                  : TextWith(Texts::kOutputsPartlyReplaced, FileNames(m_replaced)));
            return OutputWritten::Failed;
        }
        m_replaced.append(m_outputs[static_cast<qsizetype>(i)].path);
    }
    return OutputWritten::Written;
}

QByteArray OutputSet::NotWrittenText(const FileError& error) const {
    QStringList paths;
    for (const Output& output : m_outputs) paths.append(output.path);
    QByteArray text =
        TextWith(paths.size() == 1 ? Texts::kOutputNotWritten : Texts::kOutputsNotWritten, FileNames(paths));
    if (!m_existing.isEmpty())
        text +=
            ' ' + TextWith(m_existing.size() == 1 ? Texts::kOldFileKept : Texts::kOldFilesKept, FileNames(m_existing));
    text += '\n';
    text += Text(error.kind == FileErrorKind::DiskFull ? Texts::kFreeDiskSpace : Texts::kCheckFolder);
    return text;
}

OutputWritten WriteOutputFile(const QString& path, bool askOverwrite, MessageIcon questionIcon, Prompter& prompter,
                              const std::function<void(ByteSink& sink)>& write, const QStringList& inputs) {
    OutputSet set(prompter, askOverwrite, questionIcon);
    for (const QString& input : inputs) set.AddInput(input);
    set.Add(path, write);
    return set.Write();
}
