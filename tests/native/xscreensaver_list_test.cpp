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
        {"*programs:\t\\\n  maze --root \\n\\\n  gears --root \\n\n!", Changed,
         "*programs:\t\\\n  maze --root \\n\\\n  gears --root \\n\\\n" + ours + "\n!", ""},
        {"programs: maze --root", Changed, "programs: maze --root\\n\\\n" + ours,
         "programs: maze --root\\n"},
        {"programs:\n", Changed, "programs:\\\n" + ours + "\n", ""},
        // Left alone: ours already, the user's own, what is not understood.
        {before + ours + "\\\n\n", AlreadyThere, "", ""},
        {before + "- GL: verdanelle --root \\n\\\n\n", UsersOwn, "", ""},
        {before + "  GL: /usr/libexec/xscreensaver/verdanelle --root --delay 9 \\n\\\n\n", UsersOwn,
         "", ""},
        {"timeout: 0:10:00\n", NoList, "", ""},
        {"lock: False \\\nprograms: maze\n", NoList, "", ""},
        {"programs: maze\n*programs: gears\n", TwoLists, "", ""},
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
