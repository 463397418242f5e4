#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "install_outcome.h"

namespace {

struct FakeSystem final : InstallSystem {
    std::string directory;
    unsigned reported = 0; // what the query returns
    bool copies = true;
    unsigned error = 0;
    int copyCalls = 0;
    std::string copiedFrom, copiedTo;

    unsigned SystemDirectory(char* buffer, unsigned size) override {
        EXPECT_EQ(size, 256u);
        if (directory.size() < size)
            std::memcpy(buffer, directory.c_str(), directory.size() + 1);
        return reported;
    }
    bool CopyOver(const char* source, const char* target) override {
        ++copyCalls;
        copiedFrom = source;
        copiedTo = target;
        return copies;
    }
    unsigned LastError() override { return error; }
};

std::string Text(const InstallOutcome& o) {
    std::string text = o.format;
    if (o.argument != nullptr)
        text.replace(text.find("%s"), 2, o.argument);
    return text;
}

} // namespace

TEST(InstallScreenSaver, CopyOutcomes) {
    const struct {
        bool copies;
        unsigned error;
        const char* text;
        bool failed;
    } table[] = {
        {true, 0, "Screen saver successfully installed into C:\\WINDOWS\\SYSTEM\\Verdanelle.scr",
         false},
        {false, 2, "Error: Cannot find source file Verdanelle.scr", true},
        {false, 5, "Error: Unable to instal screensaver to C:\\WINDOWS\\SYSTEM\\Verdanelle.scr",
         true},
        {false, 3, "Error: Unable to instal screensaver to C:\\WINDOWS\\SYSTEM\\Verdanelle.scr",
         true},
    };
    for (const auto& c : table) {
        FakeSystem system;
        system.directory = "C:\\WINDOWS\\SYSTEM";
        system.reported = 17;
        system.copies = c.copies;
        system.error = c.error;
        char directory[256];
        InstallOutcome outcome = InstallScreenSaver(system, directory);
        EXPECT_EQ(Text(outcome), c.text);
        EXPECT_EQ(outcome.failed, c.failed);
        EXPECT_EQ(system.copyCalls, 1);
        EXPECT_EQ(system.copiedFrom, "Verdanelle.scr");
        EXPECT_EQ(system.copiedTo, "C:\\WINDOWS\\SYSTEM\\Verdanelle.scr");
    }
}

TEST(InstallScreenSaver, DirectoryLengths) {
    const struct {
        std::size_t length;
        unsigned reported;
        bool copied;
        const char* text; // null: the success text
    } table[] = {
        {240, 240, true, nullptr},
        {239, 239, true, nullptr},
        {241, 241, false, "Error: lenght of system directory is too long!"},
        {255, 256, false, "Error: lenght of system directory is too long!"},
        {300, 301, false, "Error: lenght of system directory is too long!"}, // the size needed
        {0, 0, false, "Error: Unable to find the system directory!"},        // the query failed
    };
    for (const auto& c : table) {
        FakeSystem system;
        system.directory = "C:" + std::string(c.length > 2 ? c.length - 2 : 0, 'd');
        system.directory.resize(c.length);
        system.reported = c.reported;
        char directory[256];
        std::memset(directory, 'x', sizeof directory);
        InstallOutcome outcome = InstallScreenSaver(system, directory);
        EXPECT_EQ(system.copyCalls, c.copied ? 1 : 0) << c.length;
        EXPECT_EQ(outcome.failed, !c.copied) << c.length;
        if (c.copied) {
            std::string target = system.directory + "\\Verdanelle.scr";
            EXPECT_EQ(Text(outcome), "Screen saver successfully installed into " + target);
            EXPECT_EQ(std::strlen(directory), c.length + 15);
        } else {
            EXPECT_EQ(Text(outcome), c.text) << c.length;
            EXPECT_EQ(outcome.argument, nullptr);
        }
    }
}

// 240 characters fill the 256-character buffer exactly, zero included.
TEST(InstallScreenSaver, LongestTargetFillsTheBuffer) {
    FakeSystem system;
    system.directory = std::string(240, 'd');
    system.reported = 240;
    char directory[257];
    directory[256] = '#';
    InstallOutcome outcome = InstallScreenSaver(system, reinterpret_cast<char(&)[256]>(directory));
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(directory[255], '\0');
    EXPECT_EQ(directory[256], '#');
    EXPECT_EQ(std::string(directory + 240), "\\Verdanelle.scr");
}
