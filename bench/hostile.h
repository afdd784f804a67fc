// A track built to make sector lookup slow: kChainLength records whose ID
// matches nothing, then the track's 16 real sectors, every count field at its
// maximum so that no count ends the walk early.
#ifndef BENCH_HOSTILE_H
#define BENCH_HOSTILE_H

#include "tests/support/d88_builder.h"

namespace bench {

constexpr int kChainLength = 4096;

inline fixture::Track hostileTrack(int track) {
    fixture::Track t;
    fixture::Sector filler;
    filler.c = 0xFF;
    filler.h = 0xFF;
    filler.r = 0xFF;
    filler.n = 0xFF;
    filler.count = 0xFFFF;
    t.sectors.assign(kChainLength, filler);
    for (fixture::Sector s : fixture::standardTrack(track).sectors) {
        s.count = 0xFFFF;
        t.sectors.push_back(s);
    }
    return t;
}

}  // namespace bench

#endif
