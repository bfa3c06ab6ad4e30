#pragma once

#include <cstdint>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vekaton::testing {

// Another process of this machine that runs, doing nothing, until it is ended: the test
// program itself, started suspended on Windows, a forked copy waiting for a signal elsewhere.
class ChildProcess {
  public:
    ChildProcess() {
#ifdef _WIN32
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            pid_ = info.dwProcessId;
        }
#else
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (;;) {
                ::pause();
            }
        }
        pid_ = pid > 0 ? pid : 0;
#endif
    }
    ~ChildProcess() {
        End();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // 0 when the process could not be started.
    std::int64_t Pid() const {
        return pid_;
    }

    // Ends it and waits until the system has let it go.
    void End() {
#ifdef _WIN32
        if (process_ != nullptr) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
            CloseHandle(process_);
            process_ = nullptr;
        }
#else
        if (running_ && pid_ > 0) {
            ::kill(static_cast<pid_t>(pid_), SIGKILL);
            ::waitpid(static_cast<pid_t>(pid_), nullptr, 0);
        }
        running_ = false;
#endif
    }

  private:
    std::int64_t pid_ = 0;
#ifdef _WIN32
    HANDLE process_ = nullptr;
#else
    bool running_ = true;
#endif
};

}  // namespace vekaton::testing
