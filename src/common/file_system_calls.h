#pragma once

#include <unistd.h>

#include <cstdio>

namespace vantrel {

// The system calls that put a finished file in place, behind pointers so that a test can make
// one of them fail as a full or failing disk would, without needing one. Each returns 0, or -1
// with errno set.
struct FileSystemCalls {
  int (*fsync)(int fd) = ::fsync;
  int (*rename)(const char* from, const char* to) = std::rename;
};

}  // namespace vantrel
