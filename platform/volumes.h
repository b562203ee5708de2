// The PC's drives for a program that lets the user pick one: the root folders of the mounted
// volumes.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The mount points of the volumes that live on a device (disks, USB sticks, network shares), in
// the order the system lists them, without a trailing separator ("/" stays "/"); pseudo file
// systems (proc, sysfs, cgroups...) are left out.
std::vector<std::string> volumeRoots();

}  // namespace platform
