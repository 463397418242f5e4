#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dll_search.h"

namespace {

struct FakeSearch final : DllSearchSystem {
    bool restricts = false;
    std::string directory;
    unsigned reported = 0; // what the directory query returns
    std::vector<std::string> loaded;

    bool RestrictToSystemDirectory() override { return restricts; }
    unsigned SystemDirectory(char* buffer, unsigned size) override {
        if (directory.size() < size)
            std::memcpy(buffer, directory.c_str(), directory.size() + 1);
        return reported;
    }
    void LoadByPath(const char* path) override { loaded.push_back(path); }
};

// The first `n` dialog DLLs by full path in `directory`.
std::vector<std::string> Paths(const std::string& directory, int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i)
        paths.push_back(directory + "\\" + dialogDlls[i]);
    return paths;
}

} // namespace

TEST(DllSearch, LoadsDialogDllsByFullPathOnlyWhereTheSearchCannotBeRestricted) {
    const std::string sys = "C:\\WINDOWS\\system32";
    const std::string longest(245, 'd'); // 245 + "\\cryptbase.dll" + zero = 260
    const struct {
        const char* what;
        bool restricts;
        std::string directory;
        unsigned reported;
        std::vector<std::string> want;
    } table[] = {
        {"restricted", true, sys, 19, {}},
        {"not restricted", false, sys, 19, Paths(sys, 4)},
        {"no directory", false, "", 0, {}},
        {"directory longer than the buffer", false, "", 300, {}},
        {"longest that fits every name", false, longest, 245, Paths(longest, 4)},
        {"one longer: the longest name left out", false, longest + "d", 246,
         Paths(longest + "d", 3)},
    };
    for (const auto& c : table) {
        FakeSearch search;
        search.restricts = c.restricts;
        search.directory = c.directory;
        search.reported = c.reported;
        KeepDllsInSystemDirectory(search);
        EXPECT_EQ(search.loaded, c.want) << c.what;
    }
}
