// The engine's input: command lines, and a look at what has arrived while
// the engine thinks.
//
// An interface talks to the engine through a pipe (or a terminal), and a
// line it sends while the engine searches ("?", "quit", "force"...) must be
// seen during the search.  Such input is live: it is read straight from the
// file descriptor, without waiting, into a small queue of lines that the
// command loop later takes in order.  A regular file given as input is not
// live: all of it was there before the first search, so nothing in it
// arrives "while the engine thinks", and it is read line by line as the loop
// asks, exactly as before.  (Analysis is the exception: an endless search
// has to stop at the next command, so there the next line of a file is
// looked at too.)
#pragma once

#include <cstdio>

#include "driver/protocol.hpp"

namespace morvelak {

class Input {
public:
    // Lines read ahead and not yet taken; more waits in the pipe.
    static constexpr int QUEUE_LINES = 64;

    explicit Input(std::FILE* in);

    // The next line, newline included, as read_line gives it: waits for it
    // when none has arrived.  False at the end of input.
    bool next(char* line);

    // The next line for a protocol whose lines may be long (a game's moves
    // on one line): up to size - 1 characters, the rest of the line dropped.
    // Lines read ahead during a search keep their usual cut.
    bool next_long(char* line, int size);

    // Reads what has arrived without waiting (live input only; a file only
    // when `fileToo`, and then one line at most).  Returns whether a line (or
    // the end of input) is waiting to be taken.
    bool poll(bool fileToo);

    // The waiting lines, oldest first (i < waiting()).
    int waiting() const { return count_; }
    const char* line(int i) const { return queue_[(head_ + i) % QUEUE_LINES]; }
    // The end of input has been seen behind the waiting lines.
    bool ended() const { return eof_; }
    // Removes the oldest waiting line.
    void drop_first();
    bool live() const { return fd_ >= 0; }

private:
    void push(const char* text, int n);
    // Live input: cuts the bytes already read into lines, and when that
    // gives none, reads once from the descriptor (waiting or not) and cuts
    // what came.  False when nothing could be read.
    bool fill(bool wait);

    std::FILE* in_;
    int fd_ = -1;  // live input's descriptor, -1 for a file
    char queue_[QUEUE_LINES][LINE_SIZE] = {};
    int head_ = 0, count_ = 0;
    bool eof_ = false;
    // The line being assembled from live input: its first 255 characters
    // are kept and the rest, up to the newline, is dropped.
    char part_[LINE_SIZE] = {};
    int partLen_ = 0;
    // Bytes read from live input and not yet cut into lines (the queue was
    // full).
    char raw_[4096] = {};
    int rawStart_ = 0, rawEnd_ = 0;
    // Cuts buffered bytes into lines while the queue has room.
    void cut();
};

}  // namespace morvelak
