// Writes the program's animation clips into the folder given.

#include "clips.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        avigen::WriteAviFile(folder / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Uncompressed);
        avigen::WriteAviFile(folder / "Findcomp.avi", avigen::SearchingNetworkClip(), avigen::Coding::Rle8);
        avigen::WriteAviFile(folder / "importing.avi", avigen::ImportingClip(), avigen::Coding::Rle8);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
