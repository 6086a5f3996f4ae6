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

constexpr char kDxfSourceFilter[] = "DxfSourceFilter";

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
    folders.dxfSourceExtension = store.ReadString(kSection, QLatin1String(kDxfSourceFilter));
}

void SaveChangedFolders(SettingsStore& store, const RememberedFolders& saved, const RememberedFolders& now) {
    for (const FolderValue& value : kValues) {
        const QString& folder = now.Of(value.kind);
        if (!folder.isEmpty() && folder != saved.Of(value.kind))
            store.WriteString(kSection, QString::fromLatin1(value.name), folder);
    }
    if (!now.dxfSourceExtension.isEmpty() && now.dxfSourceExtension != saved.dxfSourceExtension)
        store.WriteString(kSection, QLatin1String(kDxfSourceFilter), now.dxfSourceExtension);
}
