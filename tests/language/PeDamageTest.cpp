#include "TestSupport.h"
#include "tests/language/PeFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <tuple>
#include <vector>

namespace trvx {
namespace {

namespace fs = std::filesystem;
using test::TModuleOutcome;

std::uint32_t Get(const std::string& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b.at(at + i));
    return v;
}

void Put(std::string& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i, v >>= 8)
        b.at(at + i) = static_cast<char>(v & 0xFF);
}

void Put16(std::string& b, std::size_t at, std::uint32_t v) {
    Put(b, at, v, 2);
}
void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    Put(b, at, v, 4);
}

constexpr std::uint32_t kHigh = 0x80000000u;

// Where the parts of a good module with one resource lie, as file offsets.
struct Layout {
    std::size_t nt, optional, directoryCount, resourceSlot, sectionTableEnd;
    std::size_t rsrcSection = 0;      // its section header
    std::uint32_t rsrcVa, rsrcExtent; // the bytes of the section that are mapped and in the file
    std::size_t table;                // the resource table: root directory
    std::size_t typeEntry, typeDir, nameEntry, nameDir, langEntry, dataEntry;
    std::size_t dataStart, dataEnd;

    explicit Layout(const std::string& b) {
        nt = Get(b, 0x3C, 4);
        optional = nt + 24;
        const std::size_t directories = Get(b, optional, 2) == 0x10B ? 96 : 112;
        directoryCount = optional + directories - 4;
        resourceSlot = optional + directories + 16;
        const std::uint32_t rva = Get(b, resourceSlot, 4);
        const std::size_t sections = optional + Get(b, nt + 20, 2);
        const std::size_t count = Get(b, nt + 6, 2);
        sectionTableEnd = sections + 40 * count;
        for (std::size_t s = sections; s < sectionTableEnd; s += 40)
            if (rva >= Get(b, s + 12, 4) && rva < Get(b, s + 12, 4) + Get(b, s + 8, 4))
                rsrcSection = s;
        rsrcVa = Get(b, rsrcSection + 12, 4);
        rsrcExtent = std::min(Get(b, rsrcSection + 8, 4), Get(b, rsrcSection + 16, 4));
        table = Get(b, rsrcSection + 20, 4) + (rva - rsrcVa);
        auto below = [&](std::size_t entry) { return Get(b, entry + 4, 4) & ~kHigh; };
        typeEntry = table + 16;
        typeDir = below(typeEntry);
        nameEntry = table + typeDir + 16;
        nameDir = below(nameEntry);
        langEntry = table + nameDir + 16;
        dataEntry = table + below(langEntry);
        dataStart = table + (Get(b, dataEntry, 4) - rva);
        dataEnd = dataStart + Get(b, dataEntry + 4, 4);
    }
};

const std::vector<std::tuple<const char*, const char*>> kGoodModules = {{"gnu", "example64.exe"},
                                                                        {"gnu", "example32.exe"},
                                                                        {"lld", "example64.exe"},
                                                                        {"lld", "example32.exe"}};

std::string ExampleTree() {
    return test::TreeOf(test::ReadBytes(fs::path(TARVIN_SOURCE_DIR) / "examples/Deutsch.trvx"));
}

class DamagedModule : public testing::TestWithParam<std::tuple<const char*, const char*>> {
protected:
    void SetUp() override {
        const auto& [linker, name] = GetParam();
        m_file = test::PeFixture(linker, name);
        if (m_file.empty())
            GTEST_SKIP() << "lld-link is not installed";
        m_good = test::ReadBytes(m_file);
    }

    fs::path m_file;
    std::string m_good;
    test::TScratchDir m_dir;
};

// Every prefix of a module: without its whole headers and section table it
// is no module; without its whole resource data the resource is not found;
// never a part of the text.
TEST_P(DamagedModule, CutAnywhere) {
    const Layout at(m_good);
    const std::string whole = ExampleTree();
    ASSERT_EQ(test::LoadModule(m_file).Tree, whole);
    // Cut one file shorter and shorter: cheaper than writing a file per size.
    const fs::path cut = m_dir / "cut.exe";
    test::WriteBytes(cut, m_good);
    for (std::size_t size = m_good.size(); size-- > 0;) {
        fs::resize_file(cut, size);
        const test::TModuleLoad load = test::LoadModule(cut);
        SCOPED_TRACE(size);
        if (size < at.sectionTableEnd) {
            ASSERT_EQ(load.Outcome, TModuleOutcome::NotAModule);
        } else if (size < at.dataEnd) {
            ASSERT_EQ(load.Outcome, TModuleOutcome::NotFound);
        } else if (load.Outcome == TModuleOutcome::Loaded) {
            ASSERT_EQ(load.Tree, whole);
            continue;
        }
        ASSERT_TRUE(load.Unchanged);
    }
}

struct Damage {
    const char* name;
    std::function<void(std::string&, const Layout&)> apply;
    TModuleOutcome outcome;
};

// clang-format off
const Damage kDamages[] = {
    {"DosSignature", [](auto& b, auto&) { b[1] = 'X'; }, TModuleOutcome::NotAModule},
    {"NtHeadersPastEnd", [](auto& b, auto&) { Put32(b, 0x3C, 0xFFFFFFF0); }, TModuleOutcome::NotAModule},
    {"NtHeadersInsideDosHeader", [](auto& b, auto&) { Put32(b, 0x3C, 0); }, TModuleOutcome::NotAModule},
    {"PeSignature", [](auto& b, const Layout& at) { b[at.nt + 1] = 'X'; }, TModuleOutcome::NotAModule},
    {"OptionalMagic", [](auto& b, const Layout& at) { Put16(b, at.optional, 0x107); },
     TModuleOutcome::NotAModule},
    {"OptionalHeaderTooSmall", [](auto& b, const Layout& at) { Put16(b, at.nt + 20, 64); },
     TModuleOutcome::NotAModule},
    {"OptionalHeaderPastEnd", [](auto& b, const Layout& at) { Put16(b, at.nt + 20, 0xFFFF); },
     TModuleOutcome::NotAModule},
    // The host's loader refuses an image without sections.
    {"NoSections", [](auto& b, const Layout& at) { Put16(b, at.nt + 6, 0); }, TModuleOutcome::NotAModule},
    {"SectionTablePastEnd", [](auto& b, const Layout& at) { Put16(b, at.nt + 6, 0xFFFF); },
     TModuleOutcome::NotAModule},
    {"NoResourceSlot", [](auto& b, const Layout& at) { Put32(b, at.directoryCount, 2); },
     TModuleOutcome::NotFound},
    {"NoResourceTable", [](auto& b, const Layout& at) { Put32(b, at.resourceSlot, 0); },
     TModuleOutcome::NotFound},
    {"ResourceRvaPastImage", [](auto& b, const Layout& at) { Put32(b, at.resourceSlot, 0xFFFFFF00); },
     TModuleOutcome::NotFound},
    {"ResourceRvaAtSectionEnd",
     [](auto& b, const Layout& at) { Put32(b, at.resourceSlot, at.rsrcVa + at.rsrcExtent - 4); },
     TModuleOutcome::NotFound},
    {"ResourceSectionPastEnd", [](auto& b, const Layout& at) { Put32(b, at.rsrcSection + 20, 0xFFFFFE00); },
     TModuleOutcome::NotFound},
    {"ResourceSectionEmpty", [](auto& b, const Layout& at) { Put32(b, at.rsrcSection + 16, 0); },
     TModuleOutcome::NotFound},
    {"RootCountsHuge", [](auto& b, const Layout& at) { Put16(b, at.table + 12, 0xFFFF); Put16(b, at.table + 14, 0xFFFF); },
     TModuleOutcome::NotFound},
    {"NameCountsHuge", [](auto& b, const Layout& at) { Put16(b, at.table + at.typeDir + 14, 0xFFFF); },
     TModuleOutcome::NotFound},
    {"TypeLoopsToRoot", [](auto& b, const Layout& at) { Put32(b, at.typeEntry + 4, kHigh); },
     TModuleOutcome::NotFound},
    {"NameLoopsToItsDirectory", [](auto& b, const Layout& at) { Put32(b, at.nameEntry + 4, kHigh | at.typeDir); },
     TModuleOutcome::NotFound},
    {"LanguageLoopsToItsDirectory", [](auto& b, const Layout& at) { Put32(b, at.langEntry + 4, kHigh | at.nameDir); },
     TModuleOutcome::NotFound},
    {"TypeIsData", [](auto& b, const Layout& at) { Put32(b, at.typeEntry + 4, at.typeDir); },
     TModuleOutcome::NotFound},
    {"TypeIsOrdinal", [](auto& b, const Layout& at) { Put32(b, at.typeEntry, 10); },
     TModuleOutcome::NotFound},
    {"NameIsOrdinal", [](auto& b, const Layout& at) { Put32(b, at.nameEntry, 1); },
     TModuleOutcome::NotFound},
    {"TypeNamePastEnd", [](auto& b, const Layout& at) { Put32(b, at.typeEntry, 0xFFFFFFFF); },
     TModuleOutcome::NotFound},
    {"TypeNameRunsOffTheEnd",
     [](auto& b, const Layout& at) {
         Put32(b, at.typeEntry, kHigh | (at.rsrcExtent - 4));
         Put16(b, at.table + at.rsrcExtent - 4, 6);
     },
     TModuleOutcome::NotFound},
    {"TypeNameLengthHuge", [](auto& b, const Layout& at) { Put16(b, at.table + (Get(b, at.typeEntry, 4) & ~kHigh), 0xFFFF); },
     TModuleOutcome::NotFound},
    {"NoLanguage", [](auto& b, const Layout& at) { Put32(b, at.table + at.nameDir + 12, 0); },
     TModuleOutcome::NotFound},
    {"DataEntryPastEnd", [](auto& b, const Layout& at) { Put32(b, at.langEntry + 4, 0x7FFFFFF0); },
     TModuleOutcome::NotFound},
    {"DataRvaPastImage", [](auto& b, const Layout& at) { Put32(b, at.dataEntry, 0xFFFFFF00); },
     TModuleOutcome::NotFound},
    {"DataSizeHuge", [](auto& b, const Layout& at) { Put32(b, at.dataEntry + 4, 0xFFFFFFFF); },
     TModuleOutcome::NotFound},
    {"DataRunsPastSection", [](auto& b, const Layout& at) { Put32(b, at.dataEntry + 4, at.rsrcExtent); },
     TModuleOutcome::NotFound},
    {"DataEmpty", [](auto& b, const Layout& at) { Put32(b, at.dataEntry + 4, 0); },
     TModuleOutcome::Loaded},
};
// clang-format on

class DamagedPart
    : public testing::TestWithParam<std::tuple<std::tuple<const char*, const char*>, Damage>> {};

TEST_P(DamagedPart, EndsInTheStatedResult) {
    const auto& [module, damage] = GetParam();
    const fs::path file = test::PeFixture(std::get<0>(module), std::get<1>(module));
    if (file.empty())
        GTEST_SKIP() << "lld-link is not installed";
    std::string bytes = test::ReadBytes(file);
    damage.apply(bytes, Layout(bytes));
    test::TScratchDir dir;
    test::WriteBytes(dir / "damaged.exe", bytes);
    const test::TModuleLoad load = test::LoadModule(dir / "damaged.exe");
    EXPECT_EQ(load.Outcome, damage.outcome);
    EXPECT_EQ(load.Unchanged, damage.outcome != TModuleOutcome::Loaded);
}

std::string ModuleName(const std::tuple<const char*, const char*>& m) {
    std::string name = std::string(std::get<0>(m)) + "_" + std::get<1>(m);
    return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Module, DamagedModule, testing::ValuesIn(kGoodModules),
                         [](const auto& row) { return ModuleName(row.param); });

INSTANTIATE_TEST_SUITE_P(Module, DamagedPart,
                         testing::Combine(testing::ValuesIn(kGoodModules),
                                          testing::ValuesIn(kDamages)),
                         [](const auto& row) {
                             return ModuleName(std::get<0>(row.param)) + "_" +
                                    std::get<1>(row.param).name;
                         });

} // namespace
} // namespace trvx
