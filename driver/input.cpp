#include "driver/input.hpp"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace morvelak {

Input::Input(std::FILE* in) : in_(in) {
    // Live: a pipe, a terminal, a socket; a regular file (or an in-memory
    // stream without a descriptor) is read as a file.
    const int fd = in ? fileno(in) : -1;
    struct stat st {};
    if (fd >= 0 && fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) fd_ = fd;
}

void Input::push(const char* text, int n) {
    char* slot = queue_[(head_ + count_) % QUEUE_LINES];
    std::memcpy(slot, text, static_cast<std::size_t>(n));
    slot[n] = '\0';
    ++count_;
}

void Input::drop_first() {
    if (count_ == 0) return;
    head_ = (head_ + 1) % QUEUE_LINES;
    --count_;
}

void Input::cut() {
    while (rawStart_ < rawEnd_ && count_ < QUEUE_LINES) {
        const char c = raw_[rawStart_++];
        // The same cut as read_line: the first 255 characters, the newline
        // only when it fits, the rest of an over-long line dropped.
        if (partLen_ < LINE_SIZE - 1) part_[partLen_++] = c;
        if (c == '\n') {
            push(part_, partLen_);
            partLen_ = 0;
        }
    }
}

bool Input::fill(bool wait) {
    // Bytes left behind by a full queue come first.  When they hold a whole
    // line there is something to take: waiting on the descriptor then would
    // hold back the last lines of a burst (a game loaded as "force" and its
    // moves, then "go") until the interface writes again, which it does not
    // before the engine has moved.
    const int before = count_;
    cut();
    if (count_ > before) return true;
    if (eof_ || count_ >= QUEUE_LINES) return false;
    if (!wait) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0) return false;
    }
    ssize_t n;
    do {
        n = ::read(fd_, raw_, sizeof raw_);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        // The end of input: a last line without its newline still counts.
        eof_ = true;
        if (partLen_ > 0) {
            push(part_, partLen_);
            partLen_ = 0;
        }
        return true;
    }
    rawStart_ = 0;
    rawEnd_ = static_cast<int>(n);
    cut();
    return true;
}

bool Input::next(char* line) {
    if (fd_ >= 0) {
        while (count_ == 0 && !eof_) fill(true);
    } else if (count_ == 0 && !eof_) {
        if (read_line(in_, line)) return true;
        eof_ = true;
    }
    if (count_ == 0) {
        line[0] = '\0';
        return false;
    }
    std::strcpy(line, queue_[head_]);
    drop_first();
    return true;
}

bool Input::next_long(char* line, int size) {
    if (count_ > 0 || eof_) return next(line);
    int n = 0;
    auto keep = [&](char c) {
        if (n < size - 1) line[n++] = c;
        return c == '\n';
    };
    if (fd_ < 0) {
        int c;
        while ((c = std::getc(in_)) != EOF)
            if (keep(static_cast<char>(c))) break;
        if (c == EOF) eof_ = true;
    } else {
        // A line begun while the queue was full comes first.
        for (int i = 0; i < partLen_; ++i) keep(part_[i]);
        partLen_ = 0;
        for (bool done = false; !done;) {
            if (rawStart_ == rawEnd_) {
                ssize_t got;
                do {
                    got = ::read(fd_, raw_, sizeof raw_);
                } while (got < 0 && errno == EINTR);
                if (got <= 0) {
                    eof_ = true;
                    break;
                }
                rawStart_ = 0;
                rawEnd_ = static_cast<int>(got);
            }
            done = keep(raw_[rawStart_++]);
        }
    }
    line[n] = '\0';
    return n > 0;
}

bool Input::poll(bool fileToo) {
    if (fd_ >= 0) {
        // Take everything that has arrived, as far as the queue holds it.
        while (fill(false)) {
        }
    } else if (fileToo && count_ == 0 && !eof_) {
        char line[LINE_SIZE];
        if (read_line(in_, line)) push(line, static_cast<int>(std::strlen(line)));
        else eof_ = true;
    }
    return count_ > 0 || eof_;
}

}  // namespace morvelak
