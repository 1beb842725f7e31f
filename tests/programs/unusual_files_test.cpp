// The programs with something other than a regular file under the names of
// their input files: a FIFO, a device that never ends, a folder.  Start-up
// and the book must neither wait nor read without end; the board falls back
// to the standard position with the reason on standard error, the book to
// none, and the game goes on.
#include <sys/stat.h>

#include <tuple>

#include "tests/programs/support.hpp"

namespace morvelak::test {
namespace {

struct Kind {
    const char* name;
    void (*make)(const fs::path&);
    const char* said;  // what standard error says about a board file of this kind
};

const Kind KINDS[] = {
    {"Fifo", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, "it is not a regular file"},
    {"DevZero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, "it is not a regular file"},
    {"Folder", [](const fs::path& p) { fs::create_directory(p); }, "it is a folder"},
};

class SpecialFiles : public ProgramTest, public ::testing::WithParamInterface<std::tuple<std::string, int>> {};

TEST_P(SpecialFiles, NeitherWaitNorReadWithoutEnd) {
    const auto& [program, k] = GetParam();
    const Kind& kind = KINDS[k];
    fs::remove(dir / "plansza1.txt");
    fs::remove(dir / "k2.txt");
    kind.make(dir / "plansza1.txt");
    kind.make(dir / "k2.txt");
    const Outcome o = run("xboard\nnew\ntime 100\nusermove e2e4\nquit\n", program);
    EXPECT_EQ(o.rc, 0);
    EXPECT_NE(o.err.find(std::string("board file plansza1.txt cannot be read (") + kind.said + ")"),
              std::string::npos) << o.err;
    EXPECT_NE(o.err.find("playing from the standard start position instead"), std::string::npos) << o.err;
    const auto moves = moves_of(o);
    ASSERT_EQ(moves.size(), 1u) << o.out;
    EXPECT_TRUE(moves[0][1] == '7' || moves[0][1] == '8') << moves[0];  // a Black move from the standard start
}

INSTANTIATE_TEST_SUITE_P(
    Programs, SpecialFiles,
    ::testing::Combine(::testing::ValuesIn(built_programs()), ::testing::Range(0, 3)),
    [](const ::testing::TestParamInfo<SpecialFiles::ParamType>& info) {
        return std::get<0>(info.param) + "_" + KINDS[std::get<1>(info.param)].name;
    });

}  // namespace
}  // namespace morvelak::test
