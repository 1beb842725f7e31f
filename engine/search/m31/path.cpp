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

int sciezka(const i8* plansza, char* c, const i8* dr, char* move) {
    i8 b[100];
    std::memcpy(b, plansza, sizeof b);
    int len = 0;
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
            const int n = static_cast<int>(std::strlen(text));
            std::memcpy(c + len, text, n);
            len += n;
            break;
        }
        if (f < 11 || f > 88 || t < 11 || t > 88) break;
        if (static_cast<u8>(b[t]) & (32 | 64 | 128)) break;  // not a playing square

        const i8 piece = b[f];
        if ((piece & 7) != 1) c[len++] = LETTERS[piece & 7];
        c[len++] = file_char(f);
        c[len++] = rank_char(f);
        if (i == 0) { move[0] = file_char(f); move[1] = rank_char(f); }
        if (b[t] & (WHITE_BIT | BLACK_BIT)) c[len++] = ':';
        c[len++] = file_char(t);
        c[len++] = rank_char(t);
        if (i == 0) { move[2] = file_char(t); move[3] = rank_char(t); }

        i8 arriving = piece;
        if ((piece == W_PAWN && t > 80) || (piece == B_PAWN && t < 19)) {
            arriving = piece == W_PAWN ? W_QUEEN : B_QUEEN;
            c[len++] = 'H';
        }
        if (piece == W_KING && f == 15 && (t == 17 || t == 13)) {
            b[t] = W_KING; b[f] = 0;
            if (t == 17) { b[18] = 0; b[16] = W_ROOK; } else { b[11] = 0; b[14] = W_ROOK; }
        } else if (piece == B_KING && f == 85 && (t == 87 || t == 83)) {
            b[t] = B_KING; b[f] = 0;
            if (t == 87) { b[88] = 0; b[86] = B_ROOK; } else { b[81] = 0; b[84] = B_ROOK; }
        } else {
            b[t] = arriving;
            b[f] = 0;
        }
        const bool check = (piece & BLACK_BIT) ? king_in_check(b, W_KING) : king_in_check(b, B_KING);
        c[len++] = check ? '+' : ' ';
        ++moves;
    }
    c[len] = 0;
    return moves;
}

}  // namespace morvelak::m31
