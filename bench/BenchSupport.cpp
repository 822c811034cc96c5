#include "BenchSupport.h"

#include <cstdlib>

namespace vedivez::bench {

std::vector<TPolePanelu> MakeElements(int count) {
    static const char* const names[] = {"KOL_sLSPS", "VYH_sLSPS_sLDPS",
                                        "KOL_sLDPH", "ANG_sLSPS_sLHPD_sLSPD_sLHPS",
                                        "KOZ_sLS",   "HKO_sLSPS"};
    std::vector<TPolePanelu> out(static_cast<size_t>(count));
    int side = 1;
    while (side * side < count)
        ++side;
    for (int i = 0; i < count; ++i) {
        TPolePanelu& e = out[size_t(i)];
        e.X = i % side;
        e.Y = i / side;
        e.NAME = names[i % 6];
        e.Cont_LH = i & 1;
        e.Cont_LS = i & 2;
        e.Cont_PH = i & 4;
        e.Cont_PS = i & 8;
        e.Cont_PD = i & 16;
    }
    return out;
}

std::string BenchDir() {
    const char* dir = std::getenv("VEDIVEZ_BENCH_DIR");
    return dir && *dir ? dir : "/tmp";
}

} // namespace vedivez::bench
