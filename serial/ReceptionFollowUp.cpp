#include "serial/ReceptionFollowUp.h"

#include "base/Cp1250.h"
#include "base/CurrentFile.h"
#include "base/InputFile.h"
#include "base/Prompter.h"
#include "base/Texts.h"

#include <QFileInfo>

void FollowReception(ReceivedData received, const QString& target, Prompter& prompter,
                     const std::function<void()>& convert) {
    if (received == ReceivedData::None || !convert) return;
    // What came before a lost connection replaces good outputs only on a Yes.
    if (received == ReceivedData::Broken && !AskConvertPartialTransfer(target, QFileInfo(target).size(), prompter))
        return;
    convert();
}

bool AskConvertPartialTransfer(const QString& receivedPath, qint64 bytes, Prompter& prompter) {
    CurrentFile received;
    received.RememberChosenFile(receivedPath);
    QList<QByteArray> existing;
    for (const char* extension : {".zap", ".asc", ".cod"}) {
        const QString output = received.basePath + QLatin1String(extension);
        if (FileExists(output)) existing.append(Cp1250::FromUnicode(QFileInfo(output).fileName()));
    }
    const QByteArray replaces =
        existing.isEmpty() ? QByteArray() : TextWith(Texts::kPartialReplaces, existing.join(", "));
    const QByteArray text =
        TextFilled(Texts::kAskConvertPartial, {DisplayPath(receivedPath), Counted(bytes, Texts::kBytesNoun), replaces});
    return prompter.Ask(Topic::PartialTransfer, text, MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes;
}
