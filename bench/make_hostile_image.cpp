// Writes the image the whole-run benchmark uses to stress sector lookup: 64
// Program Disks whose tracks 1 to 4, where all their files lie, each hold a
// long chain of records with the wanted sectors at its end.
//
//   make_hostile_image OUTPUT
#include <cstdio>
#include <exception>
#include <vector>

#include "bench/hostile.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_hostile_image OUTPUT\n");
        return 1;
    }
    fixture::Disk disk = fixture::programDisk();
    for (int t = 1; t <= 4; ++t) disk.tracks[t] = bench::hostileTrack(t);
    try {
        fixture::writeFile(argv[1], fixture::buildImage(std::vector<fixture::Disk>(64, disk)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_hostile_image: %s\n", e.what());
        return 1;
    }
    return 0;
}
