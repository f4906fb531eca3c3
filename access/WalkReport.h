#pragma once
// What a permission repair did: what it changed, what it left alone on purpose, and where it
// stopped if it did.
#include <cstddef>
#include <string>

struct WalkReport {
    std::size_t Changed = 0;
    std::size_t SecondNames = 0;  // files that also have a name elsewhere, left unchanged
    std::size_t LinksLeft = 0;    // links, and folders that lead back to one above them, left alone
    std::size_t NotAsListed = 0;  // objects found where the folder listed another, left alone
    bool Complete = false;
    std::wstring StoppedAt;    // where it stopped, when not complete
    unsigned long Error = 0;   // the system's reason
};
