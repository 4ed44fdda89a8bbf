#include "tests/setup/driver/fake_system.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace setup::testing {
namespace {

FakeSystem* current = nullptr;

std::string folderOf(int fd)
{
    if (fd < 0)
        return "";
    char buffer[4096];
    const ssize_t length =
        readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : "?";
}

bool fakeIsAdministrator()
{
    ++current->administratorQueries;
    return current->administrator;
}

bool fakeStartInstaller(const char* commandLine, int workFolder, bool highPriority, ChildProcess* child)
{
    const size_t index = current->starts.size();
    current->starts.push_back({commandLine, folderOf(workFolder), highPriority});
    const bool works = index >= current->startResults.size() || current->startResults[index];
    if (works)
        child->pid = 1000 + static_cast<int>(index);
    return works;
}

void fakeWaitForChild(ChildProcess* child, void (*serviceEvents)(void*), void* context)
{
    if (child->pid < 1000)
        ADD_FAILURE() << "waiting for a child that was never started";
    current->waitsWithEvents.push_back(serviceEvents != nullptr);
    for (int i = 0; serviceEvents && i < current->serviceRounds; ++i)
        serviceEvents(context);
    child->pid = 0;
}

}  // namespace

FakeSystem::FakeSystem() : calls_{fakeIsAdministrator, fakeStartInstaller, fakeWaitForChild}
{
    current = this;
}

FakeSystem::~FakeSystem()
{
    current = nullptr;
}

}  // namespace setup::testing
