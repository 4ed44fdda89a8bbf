// libFuzzer target: the bytes are a package without its program image (35,328 zero bytes are
// put in front), read by the header reader, the completeness check and the archive walk into
// a fresh work folder. Besides the sanitizers, it traps when anything appears next to the
// work folder or a listed file lies outside it.

#include <dirent.h>
#include <errno.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "setup/archive/extract.h"
#include "setup/package/completeness.h"
#include "setup/package/package_header.h"
#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"

namespace {

class FuzzUi final : public setup::SetupUi {
public:
    setup::Answer messageBox(const char*, const char*, setup::Icon, setup::Buttons) override
    {
        return setup::Answer::Ok;
    }
    void setStatusText(const char*) override {}
    void processOneEvent() override {}
    bool askPassword(char* buf80, int* length) override
    {
        memcpy(buf80, "fuzz", 5);
        *length = 4;
        return true;
    }
};

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    remove(path);
    return 0;
}

void removeTree(const char* path)
{
    nftw(path, removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// The folder holding the work folder; nothing else may ever appear in it. run-fuzz.sh names
// it in KV_FUZZ_ROOT so that it can remove it afterwards.
const char* root()
{
    static char path[256] = "/tmp/kv-fuzz-root.XXXXXX";
    static const bool made = [] {
        if (const char* given = getenv("KV_FUZZ_ROOT")) {
            snprintf(path, sizeof path, "%s", given);
            return mkdir(path, 0700) == 0 || errno == EEXIST;
        }
        return mkdtemp(path) != nullptr;
    }();
    if (!made)
        abort();
    return path;
}

void checkNothingBesideWorkFolder()
{
    DIR* dir = opendir(root());
    if (!dir)
        abort();
    while (const dirent* item = readdir(dir)) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0 &&
            strcmp(item->d_name, "w") != 0) {
            fprintf(stderr, "written beside the work folder: %s\n", item->d_name);
            __builtin_trap();
        }
    }
    closedir(dir);
}

void checkListedFiles(const setup::PathList& files, const char* workFolder)
{
    const size_t prefix = strlen(workFolder);
    for (unsigned i = 0; i < files.count; ++i) {
        const char* path = files.items[i];
        if (strncmp(path, workFolder, prefix) != 0 || path[prefix] != '/' || strstr(path, "/../")) {
            fprintf(stderr, "listed outside the work folder: %s\n", path);
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = memfd_create("package", MFD_CLOEXEC);
    if (fd < 0)
        abort();
    if (ftruncate(fd, setup::kHeaderOffset) != 0 ||
        pwrite(fd, data, size, setup::kHeaderOffset) != static_cast<ssize_t>(size))
        abort();

    char workFolder[64];
    snprintf(workFolder, sizeof workFolder, "%s/w", root());
    FuzzUi ui;
    setup::PackageSettings settings{};
    setup::ExtractionState state{};
    if (setup::readFixedHeader(fd, settings) && setup::readVariableHeader(fd, settings)) {
        setup::checkPackageComplete(fd, settings, ui);
        // The walk runs whatever the check said: a complete package can be just as hostile.
        setup::extractArchive(fd, settings, workFolder, ui, state);
        checkListedFiles(state.extractedFiles, workFolder);
        setup::deleteExtractedFiles(state, workFolder, ui);
        setup::removeCreatedFolders(state);
    }
    setup::releaseExtractionState(state);
    setup::releasePackageSettings(settings);
    close(fd);
    checkNothingBesideWorkFolder();
    removeTree(workFolder);
    return 0;
}
