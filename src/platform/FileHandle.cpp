#include "platform/FileHandle.h"

namespace vekaton::platform {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.Release();
    }
    return *this;
}

NativeHandle FileHandle::Release() {
    const NativeHandle handle = handle_;
    handle_ = kNoHandle;
    return handle;
}

}  // namespace vekaton::platform
