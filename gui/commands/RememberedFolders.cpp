#include "gui/commands/RememberedFolders.h"

#include "base/SettingsStore.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Settings");

struct FolderValue {
    FileKind kind;
    const char* name;
};

constexpr FolderValue kValues[] = {
    {FileKind::MeasuredData, "MeasuredDataFolder"},
    {FileKind::DxfSource, "DxfSourceFolder"},
    {FileKind::UploadList, "UploadListFolder"},
};

}  // namespace

QString& RememberedFolders::Of(FileKind kind) {
    switch (kind) {
        case FileKind::DxfSource:
            return dxfSource;
        case FileKind::UploadList:
            return uploadList;
        case FileKind::MeasuredData:
            break;
    }
    return measuredData;
}

const QString& RememberedFolders::Of(FileKind kind) const { return const_cast<RememberedFolders*>(this)->Of(kind); }

void RememberedFolders::Remember(FileKind kind, const QString& chosenFile) {
    if (!chosenFile.isEmpty()) Of(kind) = QFileInfo(chosenFile).absolutePath();
}

QString RememberedFolders::StartFolder(FileKind kind, const QString& documents) const {
    const QString& remembered = Of(kind);
    return !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : documents;
}

void LoadRememberedFolders(const SettingsStore& store, RememberedFolders& folders) {
    for (const FolderValue& value : kValues)
        folders.Of(value.kind) = store.ReadString(kSection, QString::fromLatin1(value.name));
}

void SaveRememberedFolders(SettingsStore& store, const RememberedFolders& folders) {
    for (const FolderValue& value : kValues) {
        if (!folders.Of(value.kind).isEmpty())
            store.WriteString(kSection, QString::fromLatin1(value.name), folders.Of(value.kind));
    }
}
