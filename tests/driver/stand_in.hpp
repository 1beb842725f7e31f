// The stand-in build (stand_in_build.hpp) in a test fixture: each test runs
// start-up and the command loop in a fresh folder of its own and reads back
// the output, the log and the record.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/startup.hpp"
#include "engine/position/boardfile.hpp"
#include "tests/driver/stand_in_build.hpp"

namespace morvelak::test {

namespace fs = std::filesystem;

inline std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Each test runs in a fresh folder of its own.
class LoopTest : public ::testing::Test {
protected:
    fs::path old;
    fs::path dir;
    std::string out, log, rec;

    void SetUp() override {
        old = fs::current_path();
        char tmpl[] = "/tmp/morvelak-loop-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        fs::current_path(dir);
        events.clear();
        noted.clear();
        preferred.clear();
        GAME = Game{};
        KEYS = Keys{};
    }
    void TearDown() override {
        fs::current_path(old);
        fs::remove_all(dir);
    }
    static void board(const char* text) { std::ofstream(BOARD_FILE) << text; }

    // Start-up, then the loop on `input`; collects stdout, the log and the record.
    int run(const std::string& input, const BuildPolicy& p = LIKE_M31) {
        events.clear();
        char* buf = nullptr;
        std::size_t len = 0;
        std::FILE* o = open_memstream(&buf, &len);
        std::FILE* in = std::tmpfile();
        std::fwrite(input.data(), 1, input.size(), in);
        std::rewind(in);
        std::FILE* lg = start_up(p);
        const int rc = protocol_loop(p, in, o, lg);
        std::fclose(in);
        std::fclose(o);
        out.assign(buf, len);
        std::free(buf);
        log = slurp(LOG_FILE);
        rec = fs::exists(RECORD_FILE) ? slurp(RECORD_FILE) : "<none>";
        return rc;
    }
};

}  // namespace morvelak::test
