// The host-module reader on arbitrary bytes, written to an in-memory file and
// opened by name as any module is. Besides never reading out of bounds:
//   - a file that is no module, or a module without the resource, leaves the
//     tree that was open untouched;
//   - a found resource lies inside the file, is found alike whatever the
//     letter case of type and name, and loads as its bytes do as a text.

#include "FuzzCheck.h"
#include "document/Tarvin.h"
#include "pe/PeFile.h"
#include "pe/PeResource.h"
#include "tests/support/TreeShape.h"
#include "tree/Errors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace trvx;

class TMemFile {
public:
    TMemFile() : m_fd(::memfd_create("pe-fuzz", MFD_CLOEXEC)) {
        FUZZ_CHECK(m_fd >= 0, "memfd_create failed");
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~TMemFile() { ::close(m_fd); }
    TMemFile(const TMemFile&) = delete;
    TMemFile& operator=(const TMemFile&) = delete;

    void Fill(const std::uint8_t* data, std::size_t size) {
        FUZZ_CHECK(::ftruncate(m_fd, 0) == 0, "ftruncate failed");
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            FUZZ_CHECK(n > 0, "pwrite failed");
            done += static_cast<std::size_t>(n);
        }
    }
    const std::string& Path() const { return m_path; }

private:
    int m_fd;
    std::string m_path;
};

const char kBefore[] = "Open {\r\n  Caption = before\r\n}\r\n";

std::string ShapeOfText(std::string_view text) {
    TTarvin t;
    try {
        t.LoadFromText(text);
    } catch (const EListError&) {
    }
    return test::Shape(t.Root());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TMemFile file;
    file.Fill(data, size);

    TTarvin tree;
    tree.LoadFromText(kBefore);
    const std::string before = test::Shape(tree.Root());
    bool loaded = false;
    bool opened = true;
    try {
        loaded = tree.LoadFromModule(file.Path());
        opened = loaded;
        FUZZ_CHECK(loaded || test::Shape(tree.Root()) == before, "no module, yet the tree changed");
    } catch (const EResNotFound& e) {
        FUZZ_CHECK(std::string_view(e.what()) == "Resource Tarvin not found", e.what());
        FUZZ_CHECK(test::Shape(tree.Root()) == before, "no resource, yet the tree changed");
    } catch (const EListError& e) {
        FUZZ_CHECK(std::string_view(e.what()) == "List index out of bounds (-1)", e.what());
        loaded = true;
    }

    std::optional<TPeModule> module = TPeModule::Load(file.Path());
    FUZZ_CHECK(module.has_value() == opened, "the module opens only now and then");
    if (!module)
        return 0;
    const auto range = FindNamedResource(*module, "Tarvin", "Tarvin");
    const auto folded = FindNamedResource(*module, "TARVIN", "tarvin");
    FUZZ_CHECK(range.has_value() == folded.has_value(), "letter case changed the lookup");
    if (range) {
        FUZZ_CHECK(range->Offset == folded->Offset && range->Size == folded->Size,
                   "letter case changed the lookup");
        FUZZ_CHECK(range->Offset <= size && range->Size <= size - range->Offset,
                   "resource outside the file");
    }
    const auto bytes = ReadNamedResource(*module, kLanguageResource, kLanguageResource);
    if (bytes && loaded) {
        const std::string want = ShapeOfText({bytes->Data(), bytes->Size()});
        FUZZ_CHECK(test::Shape(tree.Root()) == want, "module and text load differ");
    }
    return 0;
}
