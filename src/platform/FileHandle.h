#pragma once

#include <system_error>

namespace vekaton::platform {

#ifdef _WIN32
using NativeHandle = void*;  // a HANDLE
inline constexpr NativeHandle kNoHandle = nullptr;
#else
using NativeHandle = int;  // a file descriptor
inline constexpr NativeHandle kNoHandle = -1;
#endif

// An open file of the operating system, closed with the object.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(NativeHandle handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    NativeHandle Get() const { return handle_; }
    bool IsOpen() const { return handle_ != kNoHandle; }
    // Hands the handle to a new owner; this object is closed afterwards.
    NativeHandle Release();
    // Closes now, saying whether the system reported an error (a write it could not finish).
    std::error_code Close();

  private:
    NativeHandle handle_ = kNoHandle;
};

}  // namespace vekaton::platform
