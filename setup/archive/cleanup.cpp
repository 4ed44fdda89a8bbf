#include <string.h>

#include "setup/archive/extract.h"
#include "setup/archive/path_list.h"
#include "setup/package/setup_ui.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {

void deleteExtractedFiles(ExtractionState& state, SetupUi& ui) {
  char text[kPathSize + 16];
  for (unsigned i = 0; i < state.extractedFiles.count; ++i) {
    const char* path = state.extractedFiles.items[i];
    removeFile(path);
    copyText(text, sizeof text, "\r\n\r\n\r\n\r\nLösche ");
    appendText(text, sizeof text, path);
    ui.setStatusText(text);
    ui.processOneEvent();
  }
  // Deleted once; a second Close must not touch paths that may be reused.
  releasePathList(state.extractedFiles);
}

void removeCreatedFolders(ExtractionState& state) {
  // Created outer first, so going backwards empties the inner ones first.
  for (unsigned i = state.createdFolders.count; i > 0; --i)
    removeFolder(state.createdFolders.items[i - 1]);
  releasePathList(state.createdFolders);
}

void releaseExtractionState(ExtractionState& state) {
  releasePathList(state.extractedFiles);
  releasePathList(state.createdFolders);
}

}  // namespace setup
