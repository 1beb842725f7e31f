// A small chess referee of its own, independent of the engine: an 8x8 board
// of letters, the side to move, castling rights and the en-passant square,
// and the legal moves in the engine's coordinate text.  The tests use it to
// follow a game the way the interface sees it and to judge every move the
// engine sends.  Like the engine it knows one promotion only, to a queen.
#pragma once

#include <array>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace morvelak::test::referee {

// The placement field of a FEN for 64 squares (a1 = 0, h8 = 63), '.' empty;
// sq is any indexable sequence of 64 letters.
template <class Squares>
std::string fen_placement(const Squares& sq) {
    std::string s;
    for (int r = 7; r >= 0; --r) {
        int empty = 0;
        for (int f = 0; f < 8; ++f) {
            const char c = sq[r * 8 + f];
            if (c == '.') { ++empty; continue; }
            if (empty) s += static_cast<char>('0' + empty);
            empty = 0;
            s += c;
        }
        if (empty) s += static_cast<char>('0' + empty);
        if (r) s += '/';
    }
    return s;
}

class Position {
public:
    // The standard initial position.
    static Position start() {
        Position p;
        const char* back = "RNBQKBNR";
        for (int f = 0; f < 8; ++f) {
            p.sq_[f] = back[f];
            p.sq_[8 + f] = 'P';
            p.sq_[48 + f] = 'p';
            p.sq_[56 + f] = static_cast<char>(std::tolower(back[f]));
        }
        p.castle_ = {true, true, true, true};
        return p;
    }

    // The first four fields of a FEN (board, side, castling, en passant);
    // false for text that does not describe eight ranks of eight squares.
    // Whether the position is a playable one is not judged here.
    bool set_fen(const std::string& fen) {
        std::istringstream in(fen);
        std::string board, side = "w", rights = "-", ep = "-";
        in >> board >> side >> rights >> ep;
        Position p;
        int rank = 7, file = 0;
        for (char c : board) {
            if (c == '/') {
                if (file != 8 || rank == 0) return false;
                --rank;
                file = 0;
            } else if (c >= '1' && c <= '8') {
                file += c - '0';
            } else {
                if (file > 7 || std::string("KQRBNPkqrbnp").find(c) == std::string::npos) return false;
                p.sq_[rank * 8 + file++] = c;
            }
            if (file > 8) return false;
        }
        if (rank != 0 || file != 8 || (side != "w" && side != "b")) return false;
        p.white_ = side == "w";
        for (char c : rights) {
            const std::size_t k = std::string("KQkq").find(c);
            if (k != std::string::npos) p.castle_[k] = true;
        }
        if (ep.size() == 2 && ep[0] >= 'a' && ep[0] <= 'h' && ep[1] >= '1' && ep[1] <= '8')
            p.ep_ = (ep[1] - '1') * 8 + (ep[0] - 'a');
        p.drop_impossible_rights();
        *this = p;
        return true;
    }

    // A board in the engine's board-file letters (64 squares, rank 8 first,
    // K P S G W H for White, lower case for Black), White to move.
    void set_board_file_squares(const std::string& squares64, std::array<bool, 4> rights) {
        const std::string polish = "KPSGWHkpsgwh", english = "KPNBRQkpnbrq";
        for (int i = 0; i < 64; ++i) {
            const std::size_t k = polish.find(squares64[i]);
            sq_[(7 - i / 8) * 8 + i % 8] = k == std::string::npos ? '.' : english[k];
        }
        white_ = true;
        castle_ = rights;
        ep_ = -1;
        drop_impossible_rights();
    }

    bool white_to_move() const { return white_; }
    // The same board with the other side to move and no en-passant square:
    // where the moves of the side not on move come from.
    Position other_side_to_move() const {
        Position p = *this;
        p.white_ = !white_;
        p.ep_ = -1;
        return p;
    }
    char at(int square) const { return sq_[square]; }
    // The 64 squares, a1 first, '.' for an empty one.
    const std::array<char, 64>& squares() const { return sq_; }

    // Whether the king of the given colour is attacked.
    bool in_check(bool white) const {
        const int k = king(white);
        return k >= 0 && attacked(k, !white);
    }

    // The legal moves of the side to move as coordinate text ("e2e4";
    // castling as the king's move, a promotion without its letter).
    std::vector<std::string> legal_moves() const {
        std::vector<std::string> out;
        for (const Move& m : pseudo_moves()) {
            Position next = *this;
            next.make(m);
            if (!next.in_check(white_)) out.push_back(text(m));
        }
        return out;
    }

    // Plays a move given as the interface writes it: four characters, or
    // five with a final "q" on a promotion.  False (nothing changed) when it
    // is not a legal move of the side to move.
    bool play(const std::string& move) {
        if (move.size() != 4 && move.size() != 5) return false;
        if (move.size() == 5 && move[4] != 'q') return false;
        for (const Move& m : pseudo_moves()) {
            if (text(m) != move.substr(0, 4)) continue;
            const bool promotes = std::toupper(sq_[m.from]) == 'P' && (m.to / 8 == 0 || m.to / 8 == 7);
            if (move.size() == 5 && !promotes) return false;
            Position next = *this;
            next.make(m);
            if (next.in_check(white_)) return false;
            *this = next;
            return true;
        }
        return false;
    }

    // A FEN of the position (move counters 0 1).
    std::string fen() const {
        std::string s = fen_placement(sq_);
        s += white_ ? " w " : " b ";
        std::string rights;
        for (int k = 0; k < 4; ++k)
            if (castle_[k]) rights += "KQkq"[k];
        s += rights.empty() ? "-" : rights;
        s += ' ';
        s += ep_ < 0 ? std::string("-") : std::string{static_cast<char>('a' + ep_ % 8), static_cast<char>('1' + ep_ / 8)};
        return s + " 0 1";
    }

    friend bool operator==(const Position&, const Position&) = default;

private:
    struct Move {
        int from, to;
    };

    std::array<char, 64> sq_ = filled();
    bool white_ = true;
    std::array<bool, 4> castle_{};  // K Q k q
    int ep_ = -1;

    static std::array<char, 64> filled() {
        std::array<char, 64> a;
        a.fill('.');
        return a;
    }
    static bool own(char c, bool white) { return c != '.' && (std::isupper(static_cast<unsigned char>(c)) != 0) == white; }
    static std::string text(const Move& m) {
        return {static_cast<char>('a' + m.from % 8), static_cast<char>('1' + m.from / 8),
                static_cast<char>('a' + m.to % 8), static_cast<char>('1' + m.to / 8)};
    }
    // The square one step (df, dr) from s, or -1 off the board.
    static int step(int s, int df, int dr) {
        const int f = s % 8 + df, r = s / 8 + dr;
        return f < 0 || f > 7 || r < 0 || r > 7 ? -1 : r * 8 + f;
    }

    int king(bool white) const {
        for (int s = 0; s < 64; ++s)
            if (sq_[s] == (white ? 'K' : 'k')) return s;
        return -1;
    }

    void drop_impossible_rights() {
        if (sq_[4] != 'K') castle_[0] = castle_[1] = false;
        if (sq_[7] != 'R') castle_[0] = false;
        if (sq_[0] != 'R') castle_[1] = false;
        if (sq_[60] != 'k') castle_[2] = castle_[3] = false;
        if (sq_[63] != 'r') castle_[2] = false;
        if (sq_[56] != 'r') castle_[3] = false;
    }

    // Whether a piece of colour `by` attacks square s.
    bool attacked(int s, bool by) const {
        auto is = [&](int t, char white, char black) { return t >= 0 && sq_[t] == (by ? white : black); };
        const int pawnDir = by ? -1 : 1;  // a white pawn attacks from the rank below
        if (is(step(s, -1, pawnDir), 'P', 'p') || is(step(s, 1, pawnDir), 'P', 'p')) return true;
        static constexpr int knight[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
        for (const auto& d : knight)
            if (is(step(s, d[0], d[1]), 'N', 'n')) return true;
        for (int df = -1; df <= 1; ++df)
            for (int dr = -1; dr <= 1; ++dr)
                if ((df || dr) && is(step(s, df, dr), 'K', 'k')) return true;
        for (int df = -1; df <= 1; ++df) {
            for (int dr = -1; dr <= 1; ++dr) {
                if (!df && !dr) continue;
                const bool diagonal = df && dr;
                for (int t = step(s, df, dr); t >= 0; t = step(t, df, dr)) {
                    if (sq_[t] == '.') continue;
                    if (is(t, 'Q', 'q') || (diagonal ? is(t, 'B', 'b') : is(t, 'R', 'r'))) return true;
                    break;
                }
            }
        }
        return false;
    }

    std::vector<Move> pseudo_moves() const {
        std::vector<Move> v;
        for (int s = 0; s < 64; ++s) {
            const char c = sq_[s];
            if (!own(c, white_)) continue;
            auto target = [&](int t) {  // true when a slide may go on
                if (t < 0 || own(sq_[t], white_)) return false;
                v.push_back({s, t});
                return sq_[t] == '.';
            };
            switch (std::toupper(static_cast<unsigned char>(c))) {
            case 'P': {
                const int dir = white_ ? 1 : -1;
                const int one = step(s, 0, dir);
                if (one >= 0 && sq_[one] == '.') {
                    v.push_back({s, one});
                    const int two = step(one, 0, dir);
                    if (s / 8 == (white_ ? 1 : 6) && sq_[two] == '.') v.push_back({s, two});
                }
                for (int df : {-1, 1}) {
                    const int t = step(s, df, dir);
                    if (t >= 0 && ((sq_[t] != '.' && !own(sq_[t], white_)) || t == ep_)) v.push_back({s, t});
                }
                break;
            }
            case 'N': {
                static constexpr int d[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
                for (const auto& k : d) target(step(s, k[0], k[1]));
                break;
            }
            case 'K': {
                for (int df = -1; df <= 1; ++df)
                    for (int dr = -1; dr <= 1; ++dr)
                        if (df || dr) target(step(s, df, dr));
                const int home = white_ ? 4 : 60;
                const int k = white_ ? 0 : 2;
                if (s == home && !attacked(home, !white_)) {
                    if (castle_[k] && sq_[home + 1] == '.' && sq_[home + 2] == '.' &&
                        !attacked(home + 1, !white_) && !attacked(home + 2, !white_))
                        v.push_back({s, home + 2});
                    if (castle_[k + 1] && sq_[home - 1] == '.' && sq_[home - 2] == '.' && sq_[home - 3] == '.' &&
                        !attacked(home - 1, !white_) && !attacked(home - 2, !white_))
                        v.push_back({s, home - 2});
                }
                break;
            }
            default: {
                const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                for (int df = -1; df <= 1; ++df) {
                    for (int dr = -1; dr <= 1; ++dr) {
                        if (!df && !dr) continue;
                        const bool diagonal = df && dr;
                        if ((u == 'B' && !diagonal) || (u == 'R' && diagonal)) continue;
                        for (int t = step(s, df, dr); target(t); t = step(t, df, dr)) {
                        }
                    }
                }
                break;
            }
            }
        }
        return v;
    }

    void make(const Move& m) {
        const char c = sq_[m.from];
        const bool pawn = std::toupper(static_cast<unsigned char>(c)) == 'P';
        if (pawn && m.to == ep_) sq_[m.to + (white_ ? -8 : 8)] = '.';  // the pawn taken en passant
        if (std::toupper(static_cast<unsigned char>(c)) == 'K' && (m.to - m.from == 2 || m.from - m.to == 2)) {
            const int rookFrom = m.to > m.from ? m.from + 3 : m.from - 4;
            const int rookTo = m.to > m.from ? m.from + 1 : m.from - 1;
            sq_[rookTo] = sq_[rookFrom];
            sq_[rookFrom] = '.';
        }
        sq_[m.to] = pawn && (m.to / 8 == 0 || m.to / 8 == 7) ? (white_ ? 'Q' : 'q') : c;
        sq_[m.from] = '.';
        ep_ = pawn && (m.to - m.from == 16 || m.from - m.to == 16) ? (m.from + m.to) / 2 : -1;
        drop_impossible_rights();
        white_ = !white_;
    }
};

}  // namespace morvelak::test::referee
