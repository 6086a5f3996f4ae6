#pragma once
// Where the file dialogs open: the folder in which the user last opened or saved
// a file of each kind (and for the DXF source which filter), kept in the profile (section "Settings") across runs. A
// kind never chosen, or a folder that is gone, opens in the user's documents
// folder, not in the folder the program was started in (often the program's own,
// where a user cannot write).

#include <QString>

class SettingsStore;

enum class FileKind {
    MeasuredData,  // .sdt of F1, F3 and the tools
    DxfSource,     // the measured data or point list of the DXF export
    UploadList,    // point and code lists loaded into the upload window
};

struct RememberedFolders {
    QString measuredData;
    QString dxfSource;
    QString uploadList;
    // The kind of file last chosen as the DXF source ("sdt" or "txt"): its filter is
    // the one the dialog opens with.
    QString dxfSourceExtension;

    bool operator==(const RememberedFolders& other) const = default;

    QString& Of(FileKind kind);
    const QString& Of(FileKind kind) const;
    // Keeps the folder of a chosen file (absolute) for its kind.
    void Remember(FileKind kind, const QString& chosenFile);
    // The folder a dialog for that kind opens in: the remembered one while it
    // exists, else documents.
    QString StartFolder(FileKind kind, const QString& documents) const;
};

// The values "MeasuredDataFolder", "DxfSourceFolder" and "UploadListFolder", as
// Unicode paths, and "DxfSourceFilter"; missing ones stay empty.
void LoadRememberedFolders(const SettingsStore& store, RememberedFolders& folders);
// Writes the folders of now that differ from saved, with the other values that
// changed (the caller syncs the store).
void SaveChangedFolders(SettingsStore& store, const RememberedFolders& saved, const RememberedFolders& now);
