#pragma once

#include <unistd.h>

#include "base/UniqueHandle.h"

namespace file_descriptor_detail {

struct NoDescriptor {
    static constexpr int Value() { return -1; }
};
struct CloseDescriptor {
    void operator()(int fd) const { close(fd); }
};

} // namespace file_descriptor_detail

// An open POSIX file descriptor, closed when the holder goes away; -1 holds nothing.
using FileDescriptor =
    UniqueHandle<int, file_descriptor_detail::CloseDescriptor, file_descriptor_detail::NoDescriptor>;
