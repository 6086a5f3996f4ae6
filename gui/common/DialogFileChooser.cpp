#include "gui/common/DialogFileChooser.h"

#include "base/Cp1250.h"
#include "base/CurrentFile.h"
#include "gui/common/OwnerWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

QStringList DialogFileChooser::NameFilters(const QByteArray& filter) {
    const QStringList parts = Cp1250::ToUnicode(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString label = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads the patterns from the label's last parentheses.
        const qsizetype open = label.lastIndexOf(QLatin1Char('('));
        if (open >= 0) label = label.left(open).trimmed();
        filters.append(label + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

QString DialogFileChooser::WithDefaultExtension(const QString& path, const QString& extension, bool mustExist) {
    if (path.isEmpty() || extension.isEmpty()) return path;
    if (!CurrentFile::ExtensionOf(path).isEmpty()) return path;
    if (mustExist && QFileInfo(path).isFile()) return path;
    return path + QLatin1Char('.') + extension;
}

QString DialogFileChooser::FilterExtension(const QString& nameFilter) {
    static const QRegularExpression single(QStringLiteral(R"(\(\*\.(\w+)\)$)"));
    const QRegularExpressionMatch match = single.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString DialogFileChooser::Choose(const FileDialogRequest& request) {
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    QFileDialog dialog(OwnerWindow(m_parent));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(request.filter);
    dialog.setNameFilters(filters);
    for (const QString& filter : filters) {
        if (!request.selectedExtension.isEmpty() && FilterExtension(filter) == request.selectedExtension)
            dialog.selectNameFilter(filter);
    }
    // A typed name without extension gets the one of the filter chosen, where the
    // filter lists one kind of file; the request's own otherwise.
    const auto defaultExtension = [&request](const QString& filter) {
        const QString extension = FilterExtension(filter);
        return request.defaultExtension.isEmpty() || extension.isEmpty() ? request.defaultExtension : extension;
    };
    dialog.setDefaultSuffix(defaultExtension(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(defaultExtension(filter)); });
    if (!request.folder.isEmpty()) dialog.setDirectory(request.folder);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QString chosen = dialog.selectedFiles().value(0);
    return WithDefaultExtension(chosen, defaultExtension(dialog.selectedNameFilter()), !save);
}
