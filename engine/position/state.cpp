#include "engine/position/state.hpp"

namespace morvelak {

i8 PL[100];
i8 BP[2 * LIST_ENTRIES];
i8 CP[2 * LIST_ENTRIES];
i8 ILB, ILC;
i8 KROLB, KROLC;
i8 WYJ[4];
i32 WART[22];
u32 L = 0;

}  // namespace morvelak
