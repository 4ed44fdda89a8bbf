#include "setup/archive/path_list.h"

#include <stdlib.h>
#include <string.h>

namespace setup {

bool appendPath(PathList& list, const char* path)
{
    if (list.count == list.capacity) {
        const unsigned capacity = list.capacity ? list.capacity * 2 : 16;
        void* grown = realloc(list.items, capacity * sizeof(char*));
        if (!grown)
            return false;
        list.items = static_cast<char**>(grown);
        list.capacity = capacity;
    }
    const size_t size = strlen(path) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (!copy)
        return false;
    memcpy(copy, path, size);
    list.items[list.count++] = copy;
    return true;
}

void releasePathList(PathList& list)
{
    for (unsigned i = 0; i < list.count; ++i)
        free(list.items[i]);
    free(list.items);
    list.items = nullptr;
    list.count = list.capacity = 0;
}

}  // namespace setup
