#include "tests/language/PeFixtures.h"

#include "TestSupport.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

namespace trvx::test {

namespace fs = std::filesystem;

namespace {

const char* const kBefore = "Before {\r\n  kept = yes\r\n}\r\n";

} // namespace

TModuleLoad LoadModule(const fs::path& fileName) {
    TTarvin tree;
    tree.LoadFromText(kBefore);
    const std::string before = Describe(tree.Root());
    TModuleOutcome outcome = TModuleOutcome::Loaded;
    try {
        if (!tree.LoadFromModule(fileName.string()))
            outcome = TModuleOutcome::NotAModule;
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource Tarvin not found");
        outcome = TModuleOutcome::NotFound;
    }
    std::string after = Describe(tree.Root());
    const bool unchanged = after == before;
    return {outcome, std::move(after), unchanged};
}

std::string TreeOf(const std::string& text) {
    TTarvin tree;
    tree.LoadFromText(text);
    return Describe(tree.Root());
}

} // namespace trvx::test
