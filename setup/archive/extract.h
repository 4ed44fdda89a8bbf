#pragma once
// Unpacks the package's archive into the work folder.

namespace setup {

class SetupUi;
struct PackageSettings;

// A growing list of malloc'd paths.
struct PathList {
    char** items;
    unsigned count;
    unsigned capacity;
};

// Lives for the whole run; start from a value-initialised one.
struct ExtractionState {
    bool extractionOk;
    PathList extractedFiles;   // every file created, by its full path, in order
    PathList createdFolders;   // sub-folders created, relative to the work folder, outer first
    char archivePassword[80];  // the last password entered (Windows-1252), kept for later entries
    // The work folder, held open once it is made and checked: everything below
    // it is created and removed through this descriptor, never by path again.
    int workFolderFd = -1;
};

// Walks the archive from settings.archiveStart and unpacks every entry below
// workFolder (created when missing, see ensureWorkFolder). Reports every
// failure through `ui`; returns state.extractionOk.
bool extractArchive(int packageFd, const PackageSettings& settings, const char* workFolder, SetupUi& ui,
                    ExtractionState& state);

// The Close button's clean-up: deletes each listed file below `workFolder`,
// showing "Lösche " and its path and letting one window event through per
// file.
void deleteExtractedFiles(ExtractionState& state, const char* workFolder, SetupUi& ui);
// Removes the created sub-folders that are empty, innermost first.
void removeCreatedFolders(ExtractionState& state);
// Frees both lists and lets go of the work folder (the password stays).
void releaseExtractionState(ExtractionState& state);

}  // namespace setup
