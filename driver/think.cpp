#include "driver/think.hpp"

#include <cstring>

#include "driver/game.hpp"
#include "engine/position/keys.hpp"

namespace morvelak {

namespace {

// The game part of the build's key path as it stood, to be put back when
// nothing was played (a build without keys has nothing to keep).
class Window {
public:
    explicit Window(const BuildPolicy& p) : window_(p.key_window) {
        if (window_) std::memcpy(saved_, window_, sizeof saved_);
    }
    void restore() const {
        if (window_) std::memcpy(window_, saved_, sizeof saved_);
    }

private:
    u32* window_;
    u32 saved_[TRASA_GAME + 1] = {};
};

void listen_with(Listener l) {
    CONTROL.input = l.listen;
    CONTROL.inputCtx = l.ctx;
}

}  // namespace

Thought think(const BuildPolicy& p, Side side, char* move, long limitMs, Listener listener) {
    const Window window(p);
    if (p.push_key) p.push_key();  // the position about to be searched
    // The hard limit runs from now, and the input is looked at while the
    // engine thinks.
    CONTROL.begin();
    CONTROL.analysis = false;
    CONTROL.set_limit_ms(limitMs);
    listen_with(listener);
    const bool moved = side == Side::White ? p.computer_white(move) : p.computer_black(move);
    const bool withdrawn = CONTROL.withdrawn();
    listen_with({});
    CONTROL.set_limit_ms(-1);
    if (withdrawn) {
        window.restore();
        return Thought::Withdrawn;
    }
    return moved ? Thought::Moved : Thought::NoMove;
}

bool analyse(const BuildPolicy& p, Side toMove, Listener listener) {
    prepare(p);
    const Window window(p);
    if (p.push_key) p.push_key();  // the position analysed, as before a move
    CONTROL.begin();
    CONTROL.analysis = true;
    CONTROL.set_limit_ms(-1);
    listen_with(listener);
    p.analyse(toMove);
    const bool complete = !CONTROL.stopped;
    listen_with({});
    CONTROL.analysis = false;
    window.restore();
    return complete;
}

void open_record() {
    if (GAME.zapisparti) std::fclose(GAME.zapisparti);
    GAME.zapisparti = std::fopen(RECORD_FILE, "w");
}

}  // namespace morvelak
