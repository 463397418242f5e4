// Verdanelle's entry put into and taken out of ~/.xscreensaver's list.
#include <gtest/gtest.h>

#include "xscreensaver_list.h"

namespace {

// As xscreensaver's settings write the list: each entry ends "\n\", and a
// blank line ends the list. As its app-defaults have it: the last entry
// ends "\n" alone.
const std::string before =
    "timeout:\t0:10:00\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n- GL: \t\tgears --root\t\\n\\\n";
const std::string saved = before + "\n\nmode:\t\tone\n";
const std::string ours = "  GL: \"Verdanelle\"  verdanelle --root  \\n";

} // namespace

TEST(XscreensaverList, AddAndTakeOutAgain) {
    using enum ListOutcome;
    const struct {
        std::string file;
        ListOutcome add;
        std::string added, removed; // removed: the file itself when empty
    } table[] = {
        {saved, Changed, before + ours + "\\\n\n\nmode:\t\tone\n", ""},
        {"programs:\t\\\n  maze --root \\n\\\n  gears --root \\n\n!", Changed,
         "programs:\t\\\n  maze --root \\n\\\n  gears --root \\n\\\n" + ours + "\n!", ""},
        {"programs: maze --root", Changed, "programs: maze --root\\n\\\n" + ours,
         "programs: maze --root\\n"},
        {"programs:\n", Changed, "programs:\\\n" + ours + "\n", ""},
        {"selected:1\nprograms:\n", Changed, "selected:1\nprograms:\\\n" + ours + "\n", ""},
        // A last entry a hand edit left open before the blank line is ended first.
        {"programs:\t\\\n  xmatrix --root \\\n\n", Changed,
         "programs:\t\\\n  xmatrix --root \\n\\\n" + ours + "\\\n\n",
         "programs:\t\\\n  xmatrix --root \\n\\\n\n"},
        {"programs:y\\\n\n", Changed, "programs:y\\n\\\n" + ours + "\\\n\n", "programs:y\\n\\\n\n"},
        // Left alone: ours already, the user's own, what is not understood.
        {before + ours + "\\\n\n", AlreadyThere, "", ""},
        {before + "- GL: verdanelle --root \\n\\\n\n", UsersOwn, "", ""},
        {before + "  GL: /usr/libexec/xscreensaver/verdanelle --root --delay 9 \\n\\\n\n", UsersOwn,
         "", ""},
        {"timeout: 0:10:00\n", NoList, "", ""},
        {"lock: False \\\nprograms: maze\n", NoList, "", ""},
        {"programs: maze\nprograms: gears\n", TwoLists, "", ""},
        // xscreensaver's own reading of names: any case, no star, no blank before the colon.
        {"Programs: maze --root\n", Changed, "Programs: maze --root\\n\\\n" + ours + "\n",
         "Programs: maze --root\\n\n"},
        {"*programs: maze\n", NoList, "", ""},
        {"programs : maze\n", NoList, "", ""},
        {before, Unended, "", ""},
    };
    for (const auto& row : table) {
        ListEdit added = AddToProgramsList(row.file);
        EXPECT_EQ(added.outcome, row.add) << row.file;
        EXPECT_EQ(added.text, row.added) << row.file;
        if (row.add != Changed)
            continue;
        ListEdit removed = RemoveFromProgramsList(added.text);
        EXPECT_EQ(removed.outcome, Changed) << row.file;
        EXPECT_EQ(removed.text, row.removed.empty() ? row.file : row.removed) << row.file;
        EXPECT_EQ(RemoveFromProgramsList(row.file).outcome, NotThere) << row.file;
    }
}

// Taken out: every entry that runs Verdanelle, as xscreensaver's settings
// rewrite ours (another speed, unticked), and selected: still naming the
// same hack, or none where it named Verdanelle.
TEST(XscreensaverList, TakeOutEveryEntryOfOurs) {
    using enum ListOutcome;
    const std::string list =
        "programs:\t\\\n  maze --root \\n\\\n- GL: \"Verdanelle\"  verdanelle "
        "--root --delay 20000 \\n\\\n  xmatrix --root \\n\\\n"
        "  GL: /usr/libexec/xscreensaver/verdanelle --root \\n\\\n  bsod \\n\\\n\n";
    const std::string kept =
        "programs:\t\\\n  maze --root \\n\\\n  xmatrix --root \\n\\\n  bsod \\n\\\n\n";
    const struct {
        std::string file;
        ListOutcome outcome;
        std::string text;
    } table[] = {
        {"selected:\t2\n" + list, Changed, "selected:\t1\n" + kept},
        {list + "Selected: 4\n", Changed, kept + "Selected: 2\n"},
        {"selected: 1\n" + list, Changed, "selected: -1\n" + kept},
        {"selected: 0\n" + list, Changed, "selected: 0\n" + kept},
        // Past the list's end, as the user left it.
        {"selected: 5\n" + list, Changed, "selected: 5\n" + kept},
        {"selected: 00\n" + list, Changed, "selected: 00\n" + kept},
        // One that shares its line with another entry is not ours to split.
        {"programs: maze \\n verdanelle --root \\n\n", UsersOwn, ""},
        // Over two lines, at the list's end, without its \n.
        {"programs: \\\n maze \\n\\\n verdanelle \\\n --root\n", Changed,
         "programs: \\\n maze \\n\n"},
    };
    for (const auto& row : table) {
        ListEdit removed = RemoveFromProgramsList(row.file);
        EXPECT_EQ(removed.outcome, row.outcome) << row.file;
        EXPECT_EQ(removed.text, row.text) << row.file;
    }
}

// No ~/.xscreensaver: xscreensaver's own list with ours, or nothing to write
// where that list names Verdanelle already.
TEST(XscreensaverList, NewFileFromTheDefaults) {
    using enum ListOutcome;
    const struct {
        std::string defaults;
        ListOutcome outcome;
        std::string list; // the end of the file to write
    } table[] = {
        {"*programs:\t\\\n  maze --root \\n\\\n  bsod \\n\n*lock: False\n", Changed,
         "programs:\t\\\n  maze --root \\n\\\n  bsod \\n\\\n" + ours + "\n"},
        {"*programs: maze \\n\\\n GL: verdanelle --root \\n\n", AlreadyThere, ""},
        {"*programs: maze \\n\\\n - GL: verdanelle --root \\n\n", UsersOwn, ""},
        {"*lock: False\n", NoList, ""},
    };
    for (const auto& row : table) {
        ListEdit made = NewInitFile(row.defaults);
        EXPECT_EQ(made.outcome, row.outcome) << row.defaults;
        EXPECT_TRUE(made.text.ends_with(row.list)) << made.text;
        EXPECT_EQ(made.text.empty(), row.outcome != Changed) << row.defaults;
    }
}
