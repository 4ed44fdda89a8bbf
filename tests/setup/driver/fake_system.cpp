#include "fake_system.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace setup::testing {
namespace {

FakeSystem* current = nullptr;

std::string currentFolder() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

bool fakeIsAdministrator() {
  ++current->administratorQueries;
  return current->administrator;
}

bool fakeStartInstaller(const char* commandLine, const char* workFolder, bool highPriority,
                        ChildProcess* child) {
  const size_t index = current->starts.size();
  current->starts.push_back({commandLine, workFolder, currentFolder(), highPriority});
  const bool works = index >= current->startResults.size() || current->startResults[index];
  if (works) child->pid = 1000 + static_cast<int>(index);
  return works;
}

void fakeWaitForChild(ChildProcess* child, void (*serviceEvents)(void*), void* context) {
  if (child->pid < 1000) ADD_FAILURE() << "waiting for a child that was never started";
  current->waitsWithEvents.push_back(serviceEvents != nullptr);
  current->waitFolders.push_back(currentFolder());
  for (int i = 0; serviceEvents && i < current->serviceRounds; ++i) serviceEvents(context);
  child->pid = 0;
}

}  // namespace

FakeSystem::FakeSystem() : calls_{fakeIsAdministrator, fakeStartInstaller, fakeWaitForChild} {
  current = this;
}

FakeSystem::~FakeSystem() { current = nullptr; }

}  // namespace setup::testing
