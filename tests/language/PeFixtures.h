#pragma once

#include "document/Tarvin.h"
#include "tests/support/PeFixtures.h"

#include <ostream>
#include <string>

namespace trvx::test {

enum class TModuleOutcome { Loaded, NotAModule, NotFound };

inline std::ostream& operator<<(std::ostream& os, TModuleOutcome outcome) {
    const char* names[] = {"Loaded", "NotAModule", "NotFound"};
    return os << names[static_cast<int>(outcome)];
}

// LoadFromModule over a tree that already holds something. When nothing is
// loaded, the tree must still hold what it held; Tree is what it holds after.
struct TModuleLoad {
    TModuleOutcome Outcome;
    std::string Tree;
    bool Unchanged;
};
TModuleLoad LoadModule(const std::filesystem::path& fileName);

// The tree a language text gives, as Describe prints it.
std::string TreeOf(const std::string& text);

} // namespace trvx::test
