#pragma once
// The one way the programs write their output files (the MAPA2 files, the ".200"
// copy, the DXF drawing, the upload dump): the outputs of a run are one set.
// Before anything is written, no output may be one of the files the run reads
// (under any name), and with the question asked each existing output is replaced
// only after "Yes" to STRING 32786; all questions come first. Then every output is
// written beside its target (ReplacementFile) and put on the disk, and only when
// all are whole does each take its target's place. The first output that cannot
// be written stops the run: no old file is replaced, and one message names the
// file, what went wrong, that the old files are intact and what to do.

#include "base/ByteSink.h"
#include "base/Prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

enum class OutputWritten {
    Written,  // every output holds its new bytes
    Refused,  // the user answered No to an overwrite question; nothing was touched
    Failed,   // reported through the prompter; every old file is as it was
};

class OutputSet {
public:
    using Writer = std::function<void(ByteSink& sink)>;

    // With askOverwrite an existing output is asked about, with questionIcon.
    OutputSet(Prompter& prompter, bool askOverwrite, MessageIcon questionIcon);

    // A file the run reads, which no output may be.
    void AddInput(const QString& path);
    // An output and what writes its bytes; outputs are asked about, written and put
    // in place in the order added.
    void Add(const QString& path, Writer write);
    bool IsEmpty() const { return m_outputs.isEmpty(); }

    // The checks before anything is written. An output that is an input fails the
    // set (told); a No to an overwrite question refuses it and nothing more is asked.
    // Written when the set may be written.
    OutputWritten Confirm();
    // Confirms, unless that was done, and writes the set.
    OutputWritten Write();
    // The outputs that took their targets' places, in order: all of them after Written.
    const QStringList& Replaced() const { return m_replaced; }

private:
    struct Output {
        QString path;
        Writer write;
    };

    // The message after the file error of a set that was not written.
    QByteArray NotWrittenText(const FileError& error) const;

    Prompter& m_prompter;
    bool m_askOverwrite;
    MessageIcon m_questionIcon;
    QStringList m_inputs;
    QList<Output> m_outputs;
    QStringList m_existing;  // outputs whose files existed when the set was confirmed
    bool m_confirmed = false;
    QStringList m_replaced;
};

// A set of one output: path written with write(sink), never over one of inputs.
OutputWritten WriteOutputFile(const QString& path, bool askOverwrite, MessageIcon questionIcon, Prompter& prompter,
                              const std::function<void(ByteSink& sink)>& write, const QStringList& inputs = {});
