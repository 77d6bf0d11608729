#include "TestSupport.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

#include <tuple>

namespace trvx {
namespace {

namespace fs = std::filesystem;
using test::LoadModule;
using test::TModuleOutcome;
using test::TreeOf;

// The texts tests/fixtures/make_pe_fixtures.py puts into its modules.
const std::string kFirst = "First {\r\n  v = 1\r\n}\r\n";
const std::string kExample = "<example>";

struct ModuleCase {
    const char* file;
    TModuleOutcome outcome;
    std::string text; // the text loaded, when loaded
};

void PrintTo(const ModuleCase& c, std::ostream* os) {
    *os << c.file;
}

class LinkedModule : public testing::TestWithParam<std::tuple<const char*, ModuleCase>> {};

TEST_P(LinkedModule, Loads) {
    const auto& [linker, c] = GetParam();
    const fs::path file = test::PeFixture(linker, c.file);
    if (file.empty())
        GTEST_SKIP() << "lld-link is not installed";
    const test::TModuleLoad load = LoadModule(file);
    ASSERT_EQ(load.Outcome, c.outcome);
    if (c.outcome != TModuleOutcome::Loaded) {
        EXPECT_TRUE(load.Unchanged);
        return;
    }
    const std::string text =
        c.text == kExample ? test::ReadBytes(fs::path(TARVIN_SOURCE_DIR) / "examples/Deutsch.trvx")
                           : c.text;
    EXPECT_EQ(load.Tree, TreeOf(text));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Module, LinkedModule, testing::Combine(
    testing::Values("gnu", "lld"),
    testing::Values(
        ModuleCase{"example64.exe", TModuleOutcome::Loaded, kExample},
        ModuleCase{"example32.exe", TModuleOutcome::Loaded, kExample},
        ModuleCase{"library.dll", TModuleOutcome::Loaded, kFirst},
        ModuleCase{"othercase.exe", TModuleOutcome::Loaded, kFirst},
        ModuleCase{"empty.exe", TModuleOutcome::Loaded, ""},
        ModuleCase{"nul.exe", TModuleOutcome::Loaded, kFirst},
        ModuleCase{"languages.exe", TModuleOutcome::Loaded, kFirst},
        ModuleCase{"others.exe", TModuleOutcome::NotFound, ""},
        ModuleCase{"firsttype.exe", TModuleOutcome::NotFound, ""})),
    [](const auto& row) {
        std::string name = std::string(std::get<0>(row.param)) + "_" + std::get<1>(row.param).file;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });
// clang-format on

struct NotModuleCase {
    const char* name;
    std::string bytes; // empty name: no file at all
};

void PrintTo(const NotModuleCase& c, std::ostream* os) {
    *os << c.name;
}

class NoModule : public testing::TestWithParam<NotModuleCase> {};

TEST_P(NoModule, LeavesTheTreeAlone) {
    test::TScratchDir dir;
    const fs::path file = dir / "host.exe";
    const std::string& bytes = GetParam().bytes;
    if (bytes == "<dir>")
        fs::create_directory(file);
    else if (bytes != "<missing>")
        test::WriteBytes(file, bytes);
    const test::TModuleLoad load = LoadModule(file);
    EXPECT_EQ(load.Outcome, TModuleOutcome::NotAModule);
    EXPECT_TRUE(load.Unchanged);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Module, NoModule, testing::Values(
    NotModuleCase{"Missing", "<missing>"},
    NotModuleCase{"Directory", "<dir>"},
    NotModuleCase{"EmptyFile", ""},
    NotModuleCase{"LanguageText", "INFO {\r\n  LangID = 1031\r\n}\r\n"},
    NotModuleCase{"OnlyDosSignature", "MZ"},
    NotModuleCase{"DosHeaderPointingAtItself", "MZ" + std::string(62, '\0')},
    NotModuleCase{"PeSignatureWithoutHeaders",
                  "MZ" + std::string(58, '\0') + std::string("\x40\0\0\0PE\0\0", 8)}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

} // namespace
} // namespace trvx
