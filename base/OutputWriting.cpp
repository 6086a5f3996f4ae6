#include "base/OutputWriting.h"

#include "base/InputFile.h"
#include "base/ReplacementFile.h"
#include "base/Texts.h"

OutputWritten WriteOutputFile(const QString& path, bool askOverwrite, MessageIcon questionIcon, Prompter& prompter,
                              const std::function<void(ByteSink& sink)>& write) {
    if (askOverwrite && FileExists(path)) {
        const Answer answer = prompter.Ask(Topic::Overwrite, TextWith(Texts::kFileExists, DisplayPath(path)),
                                           MessageButtons::YesNo, questionIcon);
        if (answer != Answer::Yes) return OutputWritten::Refused;
    }
    ReplacementFile file;
    FileError error = file.Create(path);
    if (!error) {
        write(file);
        error = file.Commit();
    }
    if (error) {
        prompter.ReportFileError(error);
        return OutputWritten::Failed;
    }
    return OutputWritten::Written;
}
