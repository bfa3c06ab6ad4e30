#pragma once

#include <cstdint>
#include <string>

// The running processes, as lock files and temporary file names see them. One implementation per
// operating system.
namespace vekaton::platform {

std::int64_t CurrentProcessId();
// Whether a process with this ID runs on this machine; one this user may not signal or inspect
// runs all the same. False for an ID no process can have.
bool ProcessIsAlive(std::int64_t pid);
// This machine's name, as lock files record it; empty when the system does not say.
std::string HostName();

}  // namespace vekaton::platform
