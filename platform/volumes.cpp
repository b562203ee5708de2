#include "volumes.h"

#include <mntent.h>

#include <algorithm>
#include <cstdio>

namespace platform {

std::vector<std::string> volumeRoots()
{
    std::vector<std::string> roots;
    std::FILE* mounts = ::setmntent("/proc/self/mounts", "r");
    if (!mounts)
        return roots;
    while (const mntent* m = ::getmntent(mounts)) {
        const std::string source = m->mnt_fsname;
        // A device path or a network share ("host:/path", "//host/share"); "proc", "tmpfs" and the
        // like name no device.
        if (source.find('/') == std::string::npos)
            continue;
        std::string root = m->mnt_dir;
        while (root.size() > 1 && root.back() == '/')
            root.pop_back();
        if (std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(root);
    }
    ::endmntent(mounts);
    return roots;
}

}  // namespace platform
