#include "driver/think.hpp"

#include <cstring>

#include "driver/game.hpp"
#include "engine/search/keys.hpp"

namespace morvelak {

namespace {

// The game part of the key window, to be put back when nothing was played.
struct Window {
    u32 keys[TRASA_GAME + 1];
    Window() { std::memcpy(keys, TRASA, sizeof keys); }
    void restore() const { std::memcpy(TRASA, keys, sizeof keys); }
};

void listen_with(Listener l) {
    CONTROL.input = l.listen;
    CONTROL.inputCtx = l.ctx;
}

}  // namespace

Thought think(const BuildPolicy& p, Side side, char* move, long limitMs, Listener listener) {
    const Window window;
    if (p.position_keys) push_key();  // the position about to be searched
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
    const Window window;
    if (p.position_keys) push_key();  // the position analysed, as before a move
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
    if (zapisparti) std::fclose(zapisparti);
    zapisparti = std::fopen("zapisparti.txt", "w");
}

}  // namespace morvelak
