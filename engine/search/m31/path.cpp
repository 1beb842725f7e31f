#include "engine/search/m31/path.hpp"

#include <cstring>

#include "engine/position/attacks.hpp"

namespace morvelak::m31 {

namespace {

// Letters by (code & 7): king, pawn (no letter), knight, bishop, rook, queen.
constexpr char LETTERS[] = "K SGWH";

const char* marker_text(int f, int t) {
    if (f != t) return nullptr;
    switch (f) {
    case 0: return "";
    case -1: return "zlebicia";
    case -2: return "bezbic";
    case -4: return "#";
    case -5: return "pat";
    default: return nullptr;
    }
}

// Is the king of the colour with bit `kingCode` attacked on board b?
bool king_in_check(const i8* b, i8 kingCode) {
    for (int s = 11; s <= 88; ++s) {
        if (b[s] != kingCode) continue;
        if (kingCode == W_KING ? odbicia<Side::Black>(b, s) : odbicia<Side::White>(b, s)) return true;
    }
    return false;
}

}  // namespace

namespace {

// One move of a path as it is played on the copy of the board.
struct PathMove {
    int from, to;     // castling as the king's move
    i8 piece;         // what moved
    bool capture;     // something stood on the destination
    bool promotion;   // a pawn reached the last rank (and became a queen)
    bool check;       // the other king is attacked afterwards
    bool exposed;     // the mover's own king is attacked afterwards: a
                      // move the search tried and refuted by taking it
};

// Plays the path dr on a copy of board plansza, calling visit(move, index)
// for every move until it returns false, and returns the number of moves
// and the text of the closing marker (null when the line ended on a pair
// that is not a move or the visitor stopped).
template <class Visit>
int walk(const i8* plansza, const i8* dr, const char** marker, Visit visit) {
    i8 b[100];
    std::memcpy(b, plansza, sizeof b);
    *marker = nullptr;
    int moves = 0;
    for (int i = 0; i < PATH_TEXT_MOVES; ++i) {
        int f = dr[2 * i];
        int t = dr[2 * i + 1];
        // Castling in path form becomes the king's move.
        if (f == 18 && t == CASTLE_SHORT && b[15] == W_KING) { f = 15; t = 17; }
        else if (f == 11 && t == CASTLE_LONG && b[15] == W_KING) { f = 15; t = 13; }
        else if (f == 88 && t == CASTLE_SHORT && b[85] == B_KING) { f = 85; t = 87; }
        else if (f == 81 && t == CASTLE_LONG && b[85] == B_KING) { f = 85; t = 83; }

        if (const char* text = marker_text(f, t)) {
            *marker = text;
            break;
        }
        if (f < 11 || f > 88 || t < 11 || t > 88) break;
        if (static_cast<u8>(b[t]) & (32 | 64 | 128)) break;  // not a playing square

        PathMove m{f, t, b[f], (b[t] & (WHITE_BIT | BLACK_BIT)) != 0, false, false, false};
        i8 arriving = m.piece;
        if ((m.piece == W_PAWN && t > 80) || (m.piece == B_PAWN && t < 19)) {
            arriving = m.piece == W_PAWN ? W_QUEEN : B_QUEEN;
            m.promotion = true;
        }
        if (m.piece == W_KING && f == 15 && (t == 17 || t == 13)) {
            b[t] = W_KING; b[f] = 0;
            if (t == 17) { b[18] = 0; b[16] = W_ROOK; } else { b[11] = 0; b[14] = W_ROOK; }
        } else if (m.piece == B_KING && f == 85 && (t == 87 || t == 83)) {
            b[t] = B_KING; b[f] = 0;
            if (t == 87) { b[88] = 0; b[86] = B_ROOK; } else { b[81] = 0; b[84] = B_ROOK; }
        } else {
            b[t] = arriving;
            b[f] = 0;
        }
        const bool black = (m.piece & BLACK_BIT) != 0;
        m.check = black ? king_in_check(b, W_KING) : king_in_check(b, B_KING);
        m.exposed = black ? king_in_check(b, B_KING) : king_in_check(b, W_KING);
        if (!visit(m, i)) break;
        ++moves;
    }
    return moves;
}

}  // namespace

int sciezka(const i8* plansza, char* c, const i8* dr, char* move) {
    int len = 0;
    const char* marker;
    const int moves = walk(plansza, dr, &marker, [&](const PathMove& m, int i) {
        if ((m.piece & 7) != 1) c[len++] = LETTERS[m.piece & 7];
        c[len++] = file_char(m.from);
        c[len++] = rank_char(m.from);
        if (m.capture) c[len++] = ':';
        c[len++] = file_char(m.to);
        c[len++] = rank_char(m.to);
        if (i == 0) {
            move[0] = file_char(m.from); move[1] = rank_char(m.from);
            move[2] = file_char(m.to);   move[3] = rank_char(m.to);
        }
        if (m.promotion) c[len++] = 'H';
        c[len++] = m.check ? '+' : ' ';
        return true;
    });
    if (marker) {
        const int n = static_cast<int>(std::strlen(marker));
        std::memcpy(c + len, marker, n);
        len += n;
    }
    c[len] = 0;
    return moves;
}

int path_coordinates(const i8* plansza, const i8* dr, char* c) {
    int len = 0;
    const char* marker;
    const int moves = walk(plansza, dr, &marker, [&](const PathMove& m, int i) {
        // An interface takes only legal moves: the line ends before a move
        // that leaves its own king to be taken.
        if (m.exposed) return false;
        if (i > 0) c[len++] = ' ';
        c[len++] = file_char(m.from);
        c[len++] = rank_char(m.from);
        c[len++] = file_char(m.to);
        c[len++] = rank_char(m.to);
        if (m.promotion) c[len++] = 'q';
        return true;
    });
    c[len] = 0;
    return moves;
}

}  // namespace morvelak::m31
