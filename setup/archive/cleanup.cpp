#include <string.h>

#include "setup/archive/entry_paths.h"
#include "setup/archive/extract.h"
#include "setup/archive/path_list.h"
#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"
#include "setup/platform/path_text.h"

namespace setup {

void deleteExtractedFiles(ExtractionState& state, const char* workFolder, SetupUi& ui)
{
    char text[kPathSize + 16];
    // Listed by their full paths; removed through the folder held open.
    const size_t below = strlen(workFolder) + 1;
    for (unsigned i = 0; i < state.extractedFiles.count; ++i) {
        const char* path = state.extractedFiles.items[i];
        removeBelow(state.workFolderFd, path + below, false);
        copyText(text, sizeof text, "\r\n\r\n\r\n\r\nLösche ");
        appendText(text, sizeof text, path);
        ui.setStatusText(text);
        ui.processOneEvent();
    }
    // Deleted once; a second Close must not touch paths that may be reused.
    releasePathList(state.extractedFiles);
}

void removeCreatedFolders(ExtractionState& state)
{
    // Created outer first, so going backwards empties the inner ones first.
    for (unsigned i = state.createdFolders.count; i > 0; --i)
        removeBelow(state.workFolderFd, state.createdFolders.items[i - 1], true);
    releasePathList(state.createdFolders);
}

void releaseExtractionState(ExtractionState& state)
{
    releasePathList(state.extractedFiles);
    releasePathList(state.createdFolders);
    if (state.workFolderFd >= 0)
        closeFile(state.workFolderFd);
    state.workFolderFd = -1;
}

}  // namespace setup
