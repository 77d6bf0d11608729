// Saving when things go wrong: the disk fills up, the folder is read-only,
// the name is a directory or a link, the process dies midway, the file is
// changed behind our back. The file on disk is always either what it was
// or exactly what was saved.

#include "PeFixtures.h"
#include "format/FileIO.h"
#include "tests/support/TreeShape.h"
#include "tree/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <sched.h>
#include <sstream>
#include <streambuf>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace trvx {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TScratchDir;

std::vector<std::string> Files(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A tree whose written form is about bytes long; different starts give different trees.
std::string BigText(unsigned start, std::size_t bytes) {
    std::mt19937 rng(start);
    TTarvin t;
    std::size_t size = 0;
    for (int n = 0; size < bytes; ++n) {
        TTarvinItem& node = t.Root().AddChild("Form:frm" + std::to_string(n));
        for (int v = 0; v < 4; ++v) {
            std::string text(20 + rng() % 60, static_cast<char>('a' + rng() % 26));
            size += text.size() + 20;
            node.AddChild("Button:btn" + std::to_string(v)).AddValue("Caption", text);
        }
    }
    return t.SaveToText();
}

const std::string kOld = "Old {\r\n  Caption = old\r\n}\r\n";

// Runs body in a child process and returns its exit status; 77 means the
// child could not set the stage (no mount namespace, for instance).
int InChild(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 3;
        try {
            code = body();
        } catch (...) {
            code = 4;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A private mount namespace, so a test can mount over its own folder.
bool PrivateMounts() {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// 0 when saving big over kOld in dir fails with a message that starts with
// error and leaves kOld and nothing else; otherwise which of those went wrong.
int SaveMustFailWith(const fs::path& dir, const std::string& big,
                     std::string_view error = "Stream write error") {
    const fs::path target = dir / "de.trvx";
    TTarvin t;
    t.LoadFromText(big);
    try {
        t.SaveToFile(target.string());
        return 10;
    } catch (const ETrvxError& e) {
        if (!std::string_view(e.what()).starts_with(error))
            return 11;
    }
    if (ReadBytes(target) != kOld)
        return 12;
    if (Files(dir) != std::vector<std::string>{"de.trvx"})
        return 13;
    return 0;
}

TEST(SaveFaults, ADeviceThatIsFullRaisesTheWriteError) {
    TScratchDir dir;
    fs::create_symlink("/dev/full", dir / "link.trvx");
    TTarvin t;
    t.LoadFromText(kOld);
    for (const fs::path& target : {fs::path("/dev/full"), dir / "link.trvx"}) {
        SCOPED_TRACE(target.string());
        try {
            t.SaveToFile(target.string());
            ADD_FAILURE() << "no error";
        } catch (const EWriteError& e) {
            EXPECT_STREQ(e.what(), "Stream write error");
        }
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link.trvx"));
    EXPECT_EQ(Files(dir.Path()), std::vector<std::string>{"link.trvx"});
}

// A stream that takes room bytes and then fails, as a filling disk does.
class TFillingBuffer : public std::streambuf {
public:
    explicit TFillingBuffer(std::size_t room) : m_room(room) {}
    std::string Taken;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const auto take = std::min<std::size_t>(static_cast<std::size_t>(n), m_room - Taken.size());
        Taken.append(s, take);
        return static_cast<std::streamsize>(take);
    }
    int_type overflow(int_type c) override {
        if (Taken.size() == m_room || traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::eof();
        Taken += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t m_room;
};

TEST(SaveFaults, AStreamThatFillsUpAnywhereRaisesTheWriteError) {
    const std::string big = BigText(1, 9 << 20); // more than one chunk of the writer
    TTarvin t;
    t.LoadFromText(big);
    for (std::size_t room : {std::size_t{0}, std::size_t{1}, std::size_t{4} << 20, big.size() - 1,
                             big.size(), big.size() + 1}) {
        SCOPED_TRACE(room);
        TFillingBuffer buffer(room);
        std::ostream stream(&buffer);
        bool failed = false;
        try {
            t.SaveToStream(stream);
        } catch (const EWriteError&) {
            failed = true;
        }
        EXPECT_EQ(failed, room < big.size());
        EXPECT_TRUE(big.starts_with(buffer.Taken)); // what got out is the start of the text
    }
}

TEST(SaveFaults, AFailureWhileProducingLeavesTheOldFileAndNoTemporary) {
    TScratchDir dir;
    const std::string target = (dir / "de.trvx").string();
    test::WriteBytes(target, kOld);
    for (int chunks = 0; chunks < 3; ++chunks) {
        EXPECT_THROW(SaveFileAtomically(target,
                                        [&](const WriteBytes& write) {
                                            for (int i = 0; i < chunks; ++i)
                                                write(std::string(1 << 20, 'x'));
                                            throw EWriteError();
                                        }),
                     EWriteError);
        EXPECT_EQ(ReadBytes(target), kOld);
        EXPECT_EQ(Files(dir.Path()), std::vector<std::string>{"de.trvx"});
    }
}

// The file size limit makes a write fail partway, as a full disk does,
// with no privileges needed.
TEST(SaveFaults, AWriteThatFailsMidwayLeavesTheOldFile) {
    TScratchDir dir;
    test::WriteBytes(dir / "de.trvx", kOld);
    const std::string big = BigText(2, 1 << 20);
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 << 10, 64 << 10};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 77;
        return SaveMustFailWith(dir.Path(), big);
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(dir / "de.trvx"), kOld);
}

TEST(SaveFaults, AFullFileSystemLeavesTheOldFile) {
    TScratchDir dir;
    const std::string big = BigText(3, 1 << 20);
    const int status = InChild([&] {
        if (!PrivateMounts() ||
            ::mount("tarvin-test", dir.Path().c_str(), "tmpfs", 0, "size=256k") != 0)
            return 77;
        test::WriteBytes(dir / "de.trvx", kOld);
        // Refused before the disk is full, and with the reason.
        const int result = SaveMustFailWith(dir.Path(), big,
                                            "Cannot create file \"" + (dir / "de.trvx").string() +
                                                "\". No space left on device");
        if (result != 0)
            return result;
        // Once there is room again, the same save goes through.
        TTarvin small;
        small.LoadFromText("New {\r\n}\r\n");
        small.SaveToFile((dir / "de.trvx").string());
        return ReadBytes(dir / "de.trvx") == "New {\r\n}\r\n" ? 0 : 20;
    });
    if (status == 77) {
        GTEST_SKIP() << "no private mount namespace here for a small tmpfs";
    }
    EXPECT_EQ(status, 0);
}

TEST(SaveFaults, AReadOnlyFolderRaisesTheCreateErrorAndKeepsTheFile) {
    TScratchDir dir;
    fs::create_directory(dir / "ro");
    const fs::path target = dir / "ro" / "de.trvx";
    test::WriteBytes(target, kOld);
    // 0: refused with the create error, file and folder unchanged.
    auto attempt = [&](std::string_view reason) {
        TTarvin t;
        t.LoadFromText("New {\r\n}\r\n");
        try {
            t.SaveToFile(target.string());
            return 10;
        } catch (const EFCreateError& e) {
            if (std::string(e.what()) !=
                "Cannot create file \"" + target.string() + "\". " + std::string(reason))
                return 11;
        }
        if (ReadBytes(target) != kOld || Files(dir / "ro") != std::vector<std::string>{"de.trvx"})
            return 12;
        return 0;
    };
    if (::geteuid() != 0) {
        // A writable file there would be written in place (below).
        fs::permissions(target, fs::perms::owner_read);
        fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(attempt("Permission denied"), 0);
        fs::permissions(dir / "ro", fs::perms::owner_all);
        return;
    }
    // Permission bits do not stop root; a read-only mount does.
    const int status = InChild([&] {
        const std::string ro = (dir / "ro").string();
        if (!PrivateMounts() || ::mount(ro.c_str(), ro.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, ro.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return 77;
        return attempt("Read-only file system");
    });
    if (status == 77) {
        GTEST_SKIP() << "running as root, whom permission bits do not stop, and no private "
                        "mount namespace for a read-only bind mount";
    }
    EXPECT_EQ(status, 0);
}

// A writable file in a folder that takes no new file is written in place,
// through a whole copy in the temporary folder that is gone afterwards. The
// copy, like a temporary beside the file, is the owner's alone.
TEST(SaveFaults, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    TScratchDir dir;
    fs::create_directory(dir / "ro");
    fs::create_directory(dir / "tmp");
    const fs::path target = dir / "ro" / "de.trvx";
    test::WriteBytes(target, kOld);
    const std::string text = "New {\r\n}\r\n";
    auto attempt = [&] {
        ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
        bool privateCopy = false;
        SaveFileAtomically(target.string(), [&](const WriteBytes& write) {
            const std::vector<std::string> copies = Files(dir / "tmp");
            struct stat st {};
            privateCopy = copies.size() == 1 &&
                          ::stat((dir / "tmp" / copies[0]).c_str(), &st) == 0 &&
                          (st.st_mode & 077) == 0;
            write(text);
        });
        if (!privateCopy)
            return 10;
        if (ReadBytes(target) != text)
            return 11;
        if (Files(dir / "ro") != std::vector<std::string>{"de.trvx"} || !Files(dir / "tmp").empty())
            return 12;
        return 0;
    };
    if (::geteuid() != 0) {
        fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(InChild(attempt), 0);
        fs::permissions(dir / "ro", fs::perms::owner_all);
        return;
    }
    // For root: a read-only folder around a file mounted writable.
    const int status = InChild([&] {
        const std::string ro = (dir / "ro").string();
        if (!PrivateMounts() ||
            ::mount(target.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(ro.c_str(), ro.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0 ||
            ::mount(nullptr, ro.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return 77;
        return attempt();
    });
    if (status == 77) {
        GTEST_SKIP() << "running as root and no private mount namespace for a read-only folder";
    }
    EXPECT_EQ(status, 0);
}

TEST(SaveFaults, APrivateFileStaysPrivateWhileSaved) {
    TScratchDir dir;
    const fs::path target = dir / "de.trvx";
    test::WriteBytes(target, kOld);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    bool ownerOnly = false;
    SaveFileAtomically(target.string(), [&](const WriteBytes& write) {
        for (const std::string& name : Files(dir.Path())) {
            struct stat st {};
            if (name != "de.trvx" && ::stat((dir / name).c_str(), &st) == 0)
                ownerOnly = (st.st_mode & 077) == 0;
        }
        write("New {\r\n}\r\n");
    });
    EXPECT_TRUE(ownerOnly);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(SaveFaults, AReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any file whatever its permission bits";
    }
    TScratchDir dir;
    test::WriteBytes(dir / "de.trvx", kOld);
    fs::permissions(dir / "de.trvx", fs::perms::owner_read);
    TTarvin t;
    t.LoadFromText("New {\r\n}\r\n");
    EXPECT_THROW(t.SaveToFile((dir / "de.trvx").string()), EFCreateError);
    EXPECT_EQ(ReadBytes(dir / "de.trvx"), kOld);
}

struct LinkCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links; // link -> where it points
    std::vector<std::string> folders;
    std::string save;    // the name saved to
    std::string written; // the file that must then hold the text; empty: an error
    std::string error;   // the system's message in the create error
};

void PrintTo(const LinkCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveThroughLinks : public testing::TestWithParam<LinkCase> {};

TEST_P(SaveThroughLinks, WritesTheFileTheLinksLeadToAndKeepsTheLinks) {
    const LinkCase& c = GetParam();
    TScratchDir dir;
    for (const std::string& f : c.folders)
        fs::create_directories(dir / f);
    test::WriteBytes(dir / "y" / "real.trvx", kOld);
    for (const auto& [link, to] : c.links)
        fs::create_symlink(to == "ABS" ? (dir / "y" / "real.trvx").string() : to, dir / link);

    TTarvin t;
    t.LoadFromText("New {\r\n  v = 1\r\n}\r\n");
    const std::string text = t.SaveToText();
    const std::string target = (dir / c.save).string();
    if (c.written.empty()) {
        try {
            t.SaveToFile(target);
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + target + "\". " + c.error);
        }
        EXPECT_EQ(ReadBytes(dir / "y" / "real.trvx"), kOld);
    } else {
        t.SaveToFile(target);
        EXPECT_EQ(ReadBytes(dir / c.written), text);
    }
    for (const auto& [link, to] : c.links)
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
    for (const std::string& f : c.folders)
        for (const std::string& name : Files(dir / f))
            EXPECT_FALSE(name.ends_with(".tmp")) << name;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SaveFaults, SaveThroughLinks, testing::Values(
    LinkCase{"Dangling", {{"y/link.trvx", "missing.trvx"}}, {"y"}, "y/link.trvx",
             "y/missing.trvx", ""},
    LinkCase{"Chain", {{"y/a.trvx", "b.trvx"}, {"y/b.trvx", "real.trvx"}}, {"y"}, "y/a.trvx",
             "y/real.trvx", ""},
    LinkCase{"RelativeIntoAnotherFolder", {{"x/link.trvx", "../y/real.trvx"}}, {"x", "y"},
             "x/link.trvx", "y/real.trvx", ""},
    LinkCase{"ChainAcrossFolders", {{"x/l1", "../z/l2"}, {"z/l2", "../y/real.trvx"}},
             {"x", "y", "z"}, "x/l1", "y/real.trvx", ""},
    LinkCase{"Absolute", {{"x/link.trvx", "ABS"}}, {"x", "y"}, "x/link.trvx", "y/real.trvx", ""},
    LinkCase{"ToAFolder", {{"x/link.trvx", "../y"}}, {"x", "y"}, "x/link.trvx", "",
             "Is a directory"},
    LinkCase{"Loop", {{"y/l1", "l2"}, {"y/l2", "l1"}}, {"y"}, "y/l1", "",
             "Too many levels of symbolic links"},
    LinkCase{"IntoAMissingFolder", {{"y/link.trvx", "nowhere/x.trvx"}}, {"y"}, "y/link.trvx", "",
             "No such file or directory"},
    LinkCase{"ThroughAFile", {}, {"y"}, "y/real.trvx/x.trvx", "", "Not a directory"}
), [](const auto& row) { return row.param.name; });
// clang-format on

// A child saves a few megabytes over the file and is killed at a random
// moment. Afterwards the file holds the old text or the new one, whole.
TEST(SaveFaults, AKilledSaveLeavesTheOldOrTheNewFileWhole) {
    TScratchDir dir;
    const fs::path target = dir / "big.trvx";
    const std::array<std::string, 2> texts = {BigText(4, 3 << 20), BigText(5, 3 << 20)};
    std::array<TTarvin, 2> trees;
    for (int i = 0; i < 2; ++i)
        trees[i].LoadFromText(texts[i]);

    // How long one save takes here, so the kills spread over all of it.
    const auto start = std::chrono::steady_clock::now();
    trees[1].SaveToFile(target.string());
    trees[0].SaveToFile(target.string());
    const auto save = (std::chrono::steady_clock::now() - start) / 2;
    const auto spread = std::chrono::duration_cast<std::chrono::microseconds>(save * 3 / 2);

    std::mt19937 rng(42);
    int holds = 0; // which text the file holds
    int old = 0, fresh = 0, corrupted = 0;
    constexpr int kTrials = 120;
    for (int trial = 0; trial < kTrials; ++trial) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            try {
                trees[1 - holds].SaveToFile(target.string());
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, spread.count())(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);

        const std::string now = ReadBytes(target);
        if (now == texts[holds]) {
            ++old;
        } else if (now == texts[1 - holds]) {
            ++fresh;
            holds = 1 - holds;
        } else {
            ++corrupted;
            ADD_FAILURE() << "trial " << trial << ": " << now.size() << " bytes, neither text";
            test::WriteBytes(target, texts[holds]);
        }
    }
    int partial = 0; // killed while writing: a temporary with some bytes in it
    for (const std::string& name : Files(dir.Path()))
        partial += name != "big.trvx" && fs::file_size(dir / name) > 0 ? 1 : 0;
    std::printf("[ killed saves ] %d trials, save %lld us: %d old, %d new, %d corrupted; "
                "%d killed while writing\n",
                kTrials, static_cast<long long>(spread.count() * 2 / 3), old, fresh, corrupted,
                partial);
    EXPECT_EQ(corrupted, 0);
    EXPECT_GT(old, 0);

    // Killed saves leave their temporaries; the next save clears them away,
    // the empty ones once they are old enough not to be a save just starting.
    trees[0].SaveToFile(target.string());
    for (const std::string& name : Files(dir.Path())) {
        if (name != "big.trvx") {
            EXPECT_EQ(fs::file_size(dir / name), 0u) << name;
            fs::last_write_time(dir / name,
                                fs::last_write_time(dir / name) - std::chrono::hours(1));
        }
    }
    trees[1].SaveToFile(target.string());
    EXPECT_EQ(Files(dir.Path()), std::vector<std::string>{"big.trvx"});
    EXPECT_EQ(ReadBytes(target), texts[1]);
}

TEST(SaveFaults, OnlyAbandonedTemporariesOfTheSameTargetAreCleared) {
    TScratchDir dir;
    auto put = [&](const std::string& name, const std::string& bytes) {
        test::WriteBytes(dir / name, bytes);
    };
    put(".de.trvx.123.tmp", "killed");  // left by a killed save: goes
    put(".de.trvx.456.tmp", "running"); // a save still running (locked): stays
    put(".de.trvx.789.tmp", "");        // empty and new: may be a save starting: stays
    put(".de.trvx.790.tmp", "");        // empty and old: goes
    put(".de.trvx.12x.tmp", "no");      // not a name a save makes
    put(".de.trvx.5.trvx.1.tmp", "no"); // a temporary of "de.trvx.5.trvx"
    put(".other.trvx.1.tmp", "no");     // another target's
    put("de.trvx.1.tmp", "no");         // not hidden
    fs::last_write_time(dir / ".de.trvx.790.tmp",
                        fs::last_write_time(dir / ".de.trvx.790.tmp") - std::chrono::minutes(5));
    const int running = ::open((dir / ".de.trvx.456.tmp").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);

    TTarvin t;
    t.LoadFromText(kOld);
    t.SaveToFile((dir / "de.trvx").string());
    ::close(running);
    EXPECT_EQ(Files(dir.Path()),
              (std::vector<std::string>{".de.trvx.12x.tmp", ".de.trvx.456.tmp",
                                        ".de.trvx.5.trvx.1.tmp", ".de.trvx.789.tmp",
                                        ".other.trvx.1.tmp", "de.trvx", "de.trvx.1.tmp"}));
}

// The whole file is read into memory on load and never mapped, so what
// another program does to it afterwards does not reach the open tree, and
// a save writes exactly the tree: never a mix of the two.
TEST(SaveFaults, AFileChangedOnDiskAfterLoadDoesNotReachTheTree) {
    TScratchDir dir;
    const fs::path path = dir / "de.trvx";
    for (std::size_t size :
         {std::size_t{0}, std::size_t{5} << 20}) { // small, and mapped-buffer size
        SCOPED_TRACE(size);
        const std::string text = size ? BigText(6, size) : kOld;
        test::WriteBytes(path, text);
        TTarvin t;
        t.LoadFromFile(path.string());
        const std::string shape = test::Shape(t.Root());

        ASSERT_EQ(::truncate(path.c_str(), 0), 0);
        EXPECT_EQ(test::Shape(t.Root()), shape);
        test::WriteBytes(path, std::string(text.size(), '}'));
        EXPECT_EQ(test::Shape(t.Root()), shape);

        t.Root().GetChild(0).AddValue("Added", "after the change");
        t.SaveToFile(path.string());
        EXPECT_TRUE(ReadBytes(path) == t.SaveToText());
        TTarvin back;
        back.LoadFromFile(path.string());
        EXPECT_EQ(test::Shape(back.Root()), test::Shape(t.Root()));
    }
}

} // namespace
} // namespace trvx
