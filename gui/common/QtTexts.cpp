#include "gui/common/QtTexts.h"

#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <cstring>

QString StornoTranslator::translate(const char* context, const char* sourceText, const char* disambiguation,
                                    int n) const {
    (void)context;
    (void)disambiguation;
    (void)n;
    if (!sourceText) return {};
    // Standard buttons (message boxes, button boxes, the file dialogs) and the
    // desktop themes' own cancel buttons.
    if (std::strcmp(sourceText, "Cancel") == 0) return UiText(WindowTexts::kStorno);
    if (std::strcmp(sourceText, "&Cancel") == 0) return QLatin1Char('&') + UiText(WindowTexts::kStorno);
    return {};
}

void InstallCzechQtTexts() {
    static QTranslator qtTexts;
    static StornoTranslator storno;
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    if (qtTexts.load(czech, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qtTexts.load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(&qtTexts);
    }
    // The translator installed last is asked first.
    QCoreApplication::installTranslator(&storno);
}
