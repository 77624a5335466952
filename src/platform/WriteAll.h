// Writing a whole buffer to a file descriptor.
#pragma once

#include <cstddef>

namespace platform {

// Writes all `size` bytes to `fd`, going on after interrupted and partial writes.
// False, with errno saying why, when a write fails.
bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace platform
