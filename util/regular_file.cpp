#include "util/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace morvelak {

std::FILE* open_regular_file(const char* name, std::string* why) {
    auto fail = [&](const char* reason) -> std::FILE* {
        if (why) *why = reason;
        return nullptr;
    };
    // O_NONBLOCK: opening a FIFO returns at once instead of waiting for a
    // writer; a regular file reads the same with or without it.
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(errno == ENOENT ? "not found" : std::strerror(errno));
    struct stat st {};
    const char* reason = nullptr;
    if (::fstat(fd, &st) != 0) reason = std::strerror(errno);
    else if (S_ISDIR(st.st_mode)) reason = "it is a folder";
    else if (!S_ISREG(st.st_mode)) reason = "it is not a regular file";
    std::FILE* f = reason ? nullptr : ::fdopen(fd, "rb");
    if (!f) {
        if (!reason) reason = std::strerror(errno);
        ::close(fd);
        return fail(reason);
    }
    return f;
}

}  // namespace morvelak
