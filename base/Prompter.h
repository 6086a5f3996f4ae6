#pragma once
// Everything the core asks or tells the user goes through this interface: the
// window program answers with dialogs, tarvo-cli with its options, tests with a
// script. Texts are Windows-1250 bytes; the implementation converts them for its
// screen or terminal.

#include "base/FileError.h"

#include <QByteArray>
#include <QString>

struct ConversionSettings;

enum class MessageIcon { Exclamation, Information, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// What a message is about, so that a non-interactive answerer (the command line, a
// test script) can answer by meaning rather than by text.
enum class Topic {
    Notice,       // any other message
    DataWarning,  // a warning about the measured data, once per run
    Corrections,  // "Použít současné nastavení korekcí?"
    Million,      // "Přičíst k souřadnicím milión?"
    Overwrite,    // "Soubor %s existuje. ..."
    ReceiveMode,  // put the instrument into receive mode, then OK
    Summary,      // the result of a finished run
    // The check before an upload found something: "Odeslat přesto?"
    UploadFindings,
    // Damaged, lost or repeated blocks in an NTS-350 transfer; once per run, like
    // a DataWarning.
    TransferFindings,
    // The data clearly come from the other instrument than "DeviceType": convert
    // them as that one's for this run? Yes/No.
    DeviceMismatch,
    // A reception that never ended left its data beside the new target: keep them
    // as a measured-data file? Yes/No.
    ReceptionLeftover,
    // The connection was lost in the middle of a transfer: convert what came?
    // Yes/No, No the careful answer.
    PartialTransfer,
};

// Questions whose careful answer is No, so a dialog offers No first: Enter must
// neither send a list the check found fault with nor convert a broken transfer
// over good files.
inline bool DefaultsToNo(Topic topic) { return topic == Topic::UploadFindings || topic == Topic::PartialTransfer; }

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box: a question with its buttons, or (MessageButtons::Ok) a notice.
    virtual Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) = 0;

    void Tell(const QByteArray& text, MessageIcon icon = MessageIcon::Exclamation, Topic topic = Topic::Notice) {
        Ask(topic, text, MessageButtons::Ok, icon);
    }

    // A failed open, read, create or write, naming the file; consequence, when given,
    // says in the same message what the failure meant for the run.
    virtual void ReportFileError(const FileError& error, const QByteArray& consequence = {}) {
        Tell(consequence.isEmpty() ? FileErrorText(error) : FileErrorText(error) + '\n' + consequence);
    }

    // Shows a produced file; titleSuffix is the file title and extension
    // («job.zap»). Returns when the user has closed it.
    virtual void ShowOutputFile(const QString& path, const QByteArray& titleSuffix) {
        (void)path;
        (void)titleSuffix;
    }

    // Opens the conversion parameter sheet on settings; returns true when the user
    // confirmed it (its result is then applied to settings). A cancelled sheet may
    // still have changed the instrument type and the DXF scale.
    virtual bool RunParameterSheet(ConversionSettings& settings) {
        (void)settings;
        return false;
    }
};
