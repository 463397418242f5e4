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

} // namespace

TEST(DllSearch, LoadsDialogDllsByFullPathOnlyWhereTheSearchCannotBeRestricted) {
    const std::string sys = "C:\\WINDOWS\\system32";
    const std::string longest(259 - sizeof "\\cryptbase.dll" + 1, 'd'); // fits with all four
    const struct {
        const char* what;
        bool restricts;
        std::string directory;
        unsigned reported;
        std::vector<std::string> want;
    } table[] = {
        {"restricted", true, sys, 19, {}},
        {"not restricted",
         false,
         sys,
         19,
         {sys + "\\version.dll", sys + "\\uxtheme.dll", sys + "\\dwmapi.dll",
          sys + "\\cryptbase.dll"}},
        {"no directory", false, "", 0, {}},
        {"directory longer than the buffer", false, "", 300, {}},
        {"longest that fits every name",
         false,
         longest,
         unsigned(longest.size()),
         {longest + "\\version.dll", longest + "\\uxtheme.dll", longest + "\\dwmapi.dll",
          longest + "\\cryptbase.dll"}},
        {"one longer: the longest name is left out",
         false,
         longest + "d",
         unsigned(longest.size() + 1),
         {longest + "d\\version.dll", longest + "d\\uxtheme.dll", longest + "d\\dwmapi.dll"}},
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
