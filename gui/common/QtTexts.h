#pragma once
// Qt's own texts in Czech: the buttons of message boxes and the file dialogs. The
// Czech Qt translation names the cancel button "Zrušit"; the program's own
// dialogs and its manual say "Storno", and so does every Qt dialog once these are
// installed.

#include <QTranslator>

class StornoTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    // "Storno" (with its mnemonic where Qt asks for one) for Qt's cancel buttons;
    // nothing for any other text, which the next translator then answers.
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// Installs Qt's Czech translation (the system's, or on Windows the one the
// program carries) and the cancel word above it. Call once, after the application
// object exists.
void InstallCzechQtTexts();
