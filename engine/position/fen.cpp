#include "engine/position/fen.hpp"

#include <cctype>
#include <sstream>
#include <vector>

#include "engine/position/attacks.hpp"

namespace morvelak {

namespace {
i8 code_of_fen_letter(char c) {
    switch (c) {
    case 'K': return W_KING;
    case 'P': return W_PAWN;
    case 'N': return W_KNIGHT;
    case 'B': return W_BISHOP;
    case 'R': return W_ROOK;
    case 'Q': return W_QUEEN;
    case 'k': return B_KING;
    case 'p': return B_PAWN;
    case 'n': return B_KNIGHT;
    case 'b': return B_BISHOP;
    case 'r': return B_ROOK;
    case 'q': return B_QUEEN;
    default: return EMPTY;
    }
}
}  // namespace

bool parse_fen(const std::string& fen, FenPosition& out, std::string& error) {
    std::istringstream in(fen);
    std::vector<std::string> f;
    for (std::string w; in >> w;) f.push_back(w);
    if (f.size() < 2 || f.size() > 6) {
        error = "a FEN needs 2 to 6 fields";
        return false;
    }
    for (int i = 0; i < 100; ++i) out.pl[i] = BORDER;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c) out.pl[10 * r + c] = EMPTY;

    int rank = 8, file = 1, whiteKings = 0, blackKings = 0, whiteCount = 0, blackCount = 0;
    for (char ch : f[0]) {
        if (ch == '/') {
            if (file != 9 || rank == 1) { error = "rank " + std::to_string(rank) + " does not have 8 squares"; return false; }
            --rank;
            file = 1;
        } else if (ch >= '1' && ch <= '8') {
            file += ch - '0';
            if (file > 9) { error = "rank " + std::to_string(rank) + " has more than 8 squares"; return false; }
        } else {
            const i8 code = code_of_fen_letter(ch);
            if (code == EMPTY) { error = std::string("unknown piece letter '") + ch + "'"; return false; }
            if (file > 8) { error = "rank " + std::to_string(rank) + " has more than 8 squares"; return false; }
            if ((code == W_PAWN || code == B_PAWN) && (rank == 1 || rank == 8)) {
                error = "a pawn on the first or last rank"; return false;
            }
            out.pl[10 * rank + file] = code;
            ++file;
            if (code == W_KING) ++whiteKings;
            if (code == B_KING) ++blackKings;
            if (code & WHITE_BIT) ++whiteCount; else ++blackCount;
        }
    }
    if (rank != 1 || file != 9) { error = "the board field does not describe 8 ranks of 8 squares"; return false; }
    if (whiteKings != 1 || blackKings != 1) { error = "each side needs exactly one king"; return false; }
    if (whiteCount > 16 || blackCount > 16) { error = "more than 16 pieces on one side"; return false; }

    if (f[1] == "w") out.toMove = Side::White;
    else if (f[1] == "b") out.toMove = Side::Black;
    else { error = "side to move must be w or b"; return false; }

    out.wyj[0] = out.wyj[1] = out.wyj[2] = out.wyj[3] = 0;
    if (f.size() > 2 && f[2] != "-") {
        for (char ch : f[2]) {
            switch (ch) {
            case 'K': out.wyj[0] |= 1; break;
            case 'Q': out.wyj[0] |= 2; break;
            case 'k': out.wyj[1] |= 1; break;
            case 'q': out.wyj[1] |= 2; break;
            default: error = std::string("unknown castling letter '") + ch + "'"; return false;
            }
        }
    }
    if (f.size() > 3 && f[3] != "-") {
        const std::string& ep = f[3];
        if (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || (ep[1] != '3' && ep[1] != '6')) {
            error = "bad en-passant square '" + ep + "'"; return false;
        }
        const int sq = square_from_text(ep[0], ep[1]);
        if (ep[1] == '6' && out.toMove == Side::White && out.pl[sq - 10] == B_PAWN && out.pl[sq] == EMPTY) out.wyj[3] = static_cast<i8>(sq);
        else if (ep[1] == '3' && out.toMove == Side::Black && out.pl[sq + 10] == W_PAWN && out.pl[sq] == EMPTY) out.wyj[2] = static_cast<i8>(sq);
        else { error = "en-passant square '" + ep + "' does not fit the position"; return false; }
    }
    for (std::size_t i = 4; i < f.size(); ++i) {
        for (char ch : f[i])
            if (!std::isdigit(static_cast<unsigned char>(ch))) { error = "move counters must be numbers"; return false; }
    }
    // The side that has just moved may not have left its king attacked.
    int wk = 0, bk = 0;
    for (int s = 11; s <= 88; ++s) {
        if (out.pl[s] == W_KING) wk = s;
        if (out.pl[s] == B_KING) bk = s;
    }
    const bool hangs = out.toMove == Side::White ? odbicia<Side::White>(out.pl, bk)
                                                 : odbicia<Side::Black>(out.pl, wk);
    if (hangs) { error = "the side not to move is in check"; return false; }
    return true;
}

}  // namespace morvelak
