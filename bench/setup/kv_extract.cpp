// kv_extract: unpacks a package file into a folder with the setup's own extraction code and
// a user interface that shows nothing, for timing and memory measurements.
//
//   kv_extract PACKAGE FOLDER [PASSWORD]
//
// Messages go to standard error; the exit status is 0 only when the extraction succeeded.

#include <cstdio>
#include <cstring>

#include "setup/archive/extract.h"
#include "setup/package/completeness.h"
#include "setup/package/package_header.h"
#include "setup/driver/setup_ui.h"
#include "setup/platform/files.h"

namespace {

class NullUi final : public setup::SetupUi {
public:
    explicit NullUi(const char* password) : password_(password) {}

    setup::Answer messageBox(const char* text, const char* caption, setup::Icon, setup::Buttons) override
    {
        std::fprintf(stderr, "kv_extract: %s / %s\n", text, caption);
        return setup::Answer::Cancel;
    }
    void setStatusText(const char*) override {}
    void processOneEvent() override {}
    bool askPassword(char* buf80, int* length) override
    {
        // Answering the same password again would only loop until the prompts run out.
        if (!password_ || asked_)
            return false;
        asked_ = true;
        std::snprintf(buf80, 80, "%s", password_);
        *length = static_cast<int>(std::strlen(buf80));
        return true;
    }

private:
    const char* password_;
    bool asked_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fputs("usage: kv_extract PACKAGE FOLDER [PASSWORD]\n", stderr);
        return 2;
    }
    NullUi ui(argc == 4 ? argv[3] : nullptr);
    const int fd = setup::openExistingForReading(argv[1]);
    if (fd < 0) {
        std::perror(argv[1]);
        return 1;
    }
    setup::PackageSettings settings{};
    setup::ExtractionState state{};
    bool ok = setup::readFixedHeader(fd, settings) && setup::readVariableHeader(fd, settings) &&
              setup::checkPackageComplete(fd, settings, ui) &&
              setup::extractArchive(fd, settings, argv[2], ui, state);
    setup::releaseExtractionState(state);
    setup::releasePackageSettings(settings);
    setup::closeFile(fd);
    return ok ? 0 : 1;
}
