#pragma once
// Where the file dialogs open: the folder in which the user last opened or saved
// a file of each kind, kept in the profile (section "Settings") across runs. A
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

    QString& Of(FileKind kind);
    const QString& Of(FileKind kind) const;
    // Keeps the folder of a chosen file (absolute) for its kind.
    void Remember(FileKind kind, const QString& chosenFile);
    // The folder a dialog for that kind opens in: the remembered one while it
    // exists, else documents.
    QString StartFolder(FileKind kind, const QString& documents) const;
};

// The values "MeasuredDataFolder", "DxfSourceFolder" and "UploadListFolder", as
// Unicode paths; missing ones stay empty.
void LoadRememberedFolders(const SettingsStore& store, RememberedFolders& folders);
// Writes them with the other values at shutdown (the caller syncs the store).
void SaveRememberedFolders(SettingsStore& store, const RememberedFolders& folders);
