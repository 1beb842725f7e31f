#include "engine/search/m26/tree.hpp"

#include <algorithm>

namespace morvelak::m26 {
namespace {

// ile1 as a loop bound that can never leave the arrays.
int recorded(i8 ile1) { return std::clamp(static_cast<int>(ile1), 0, NODE_MOVES); }

}  // namespace

void wezel::inic() {
    ile1 = 0;
    ile2 = 0;
    for (wezel*& n : nast) n = nullptr;
}

void wezel::zwolnij() {
    const int n = recorded(ile1);
    for (int i = 0; i < n; ++i) {
        if (nast[i] != nullptr) {
            nast[i]->zwolnij();
            delete nast[i];
            nast[i] = nullptr;
        }
    }
}

void wezel::posortuj(const char* kto) {
    const bool white = kto[0] == 'b';
    const int n = recorded(ile1);
    for (int i = 0; i < n; ++i)
        if (nast[i] != nullptr) nast[i]->posortuj(white ? "c" : "b");

    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int k = 0; k + 1 < n; ++k) {
            const bool out_of_order = white ? wart[k] < wart[k + 1] : wart[k] > wart[k + 1];
            if (out_of_order) {
                std::swap(wart[k], wart[k + 1]);
                std::swap(nast[k], nast[k + 1]);
                std::swap(ruch[k], ruch[k + 1]);
                swapped = true;
            }
        }
    }
}

}  // namespace morvelak::m26
