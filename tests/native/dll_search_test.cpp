#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dll_search.h"

namespace {

struct FakeSearch final : DllSearchSystem {
    bool restricts = false;
    std::string directory;
    unsigned reported = 0;           // what the directory query returns
    bool flagRefused = false;        // as an old system might
    std::vector<std::string> loaded; // each call, with its flags

    bool RestrictToSystemDirectory() override { return restricts; }
    unsigned SystemDirectory(char* buffer, unsigned size) override {
        if (directory.size() < size)
            std::memcpy(buffer, directory.c_str(), directory.size() + 1);
        return reported;
    }
    bool LoadWithFlags(const char* path, unsigned flags) override {
        loaded.push_back("LoadLibraryExA " + std::string(path) + " " + std::to_string(flags));
        return !flagRefused;
    }
    bool Load(const char* path) override {
        loaded.push_back("LoadLibraryA " + std::string(path));
        return true;
    }
};

// The loads of the first `n` dialog DLLs by full path in `directory`: with
// LOAD_WITH_ALTERED_SEARCH_PATH (8), and plainly after each refusal of it.
std::vector<std::string> Paths(const std::string& directory, int n, bool refused = false) {
    std::vector<std::string> calls;
    for (int i = 0; i < n; ++i) {
        std::string path = directory + "\\" + dialogDlls[i];
        calls.push_back("LoadLibraryExA " + path + " 8");
        if (refused)
            calls.push_back("LoadLibraryA " + path);
    }
    return calls;
}

} // namespace

TEST(DllSearch, LoadsDialogDllsByFullPathOnlyWhereTheSearchCannotBeRestricted) {
    const std::string sys = "C:\\WINDOWS\\system32";
    const std::string longest(245, 'd'); // 245 + "\\cryptbase.dll" + zero = 260
    const struct {
        const char* what;
        bool restricts, flagRefused;
        std::string directory;
        unsigned reported;
        std::vector<std::string> want;
    } table[] = {
        {"restricted", true, false, sys, 19, {}},
        {"not restricted", false, false, sys, 19, Paths(sys, 4)},
        {"no directory", false, false, "", 0, {}},
        {"directory longer than the buffer", false, false, "", 300, {}},
        {"longest that fits every name", false, false, longest, 245, Paths(longest, 4)},
        {"one longer: the longest name left out", false, false, longest + "d", 246,
         Paths(longest + "d", 3)},
        {"the flag refused: each again plainly", false, true, sys, 19, Paths(sys, 4, true)},
    };
    for (const auto& c : table) {
        FakeSearch search;
        search.restricts = c.restricts;
        search.flagRefused = c.flagRefused;
        search.directory = c.directory;
        search.reported = c.reported;
        KeepDllsInSystemDirectory(search);
        EXPECT_EQ(search.loaded, c.want) << c.what;
    }
}
