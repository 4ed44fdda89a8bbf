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

// Lives for the whole run; start from a zero-initialised value.
struct ExtractionState {
  bool extractionOk;
  PathList extractedFiles;   // every file created, in order
  PathList createdFolders;   // sub-folders created below the work folder, outer first
  char archivePassword[80];  // the last password entered (Windows-1252), kept for later entries
};

// Walks the archive from settings.archiveStart and unpacks every entry below
// workFolder (created when missing, see ensureWorkFolder). Reports every
// failure through `ui`; returns state.extractionOk.
bool extractArchive(int packageFd, const PackageSettings& settings, const char* workFolder,
                    SetupUi& ui, ExtractionState& state);

// The Close button's clean-up: deletes each listed file, showing
// "Lösche " and its path and letting one window event through per file.
void deleteExtractedFiles(ExtractionState& state, SetupUi& ui);
// Removes the created sub-folders that are empty, innermost first.
void removeCreatedFolders(ExtractionState& state);
// Frees both lists (the password stays).
void releaseExtractionState(ExtractionState& state);

}  // namespace setup
