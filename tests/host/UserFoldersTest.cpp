#include <gtest/gtest.h>

#include "base/UserFolders.h"

#ifndef _WIN32
#include <pwd.h>

// One rule for every kind: its XDG variable when absolute, else a folder below a home
// that is absolute (HOME, else the user's entry: "~"), trailing slashes dropped. Each
// test runs in a process of its own: the variables need not be put back.
TEST(UserFolders, EachKindFollowsItsVariableElseAnAbsoluteHome)
{
    using enum UserFolder;
    const char* const names[] = {"HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"};
    const struct { UserFolder kind; const char* values[5]; std::string folder; } cases[] = {
        {Cache, {"/h", nullptr, nullptr, "/x/cache//"}, "/x/cache/rampwise"},
        {Cache, {"/"}, "/.cache/rampwise"},
        {State, {"/h//", nullptr, "s"}, "/h/.local/state/rampwise"},
        {State, {"h"}, "~/.local/state/rampwise"},
        {Config, {}, "~/.config/rampwise"},
        {Config, {"h", nullptr, nullptr, nullptr, "/c/"}, "/c/rampwise"},
        {Runtime, {nullptr, "/run/user/7/"}, "/run/user/7/rampwise"},
        {Runtime, {"/h", "run"}, ""},  // no stand-in below the home
    };
    const std::string home = getpwuid(getuid())->pw_dir;  // the user's entry
    for (const auto& c : cases) {
        for (int i = 0; i < 5; ++i)
            c.values[i] ? setenv(names[i], c.values[i], 1) : unsetenv(names[i]);
        const std::string folder = c.folder.starts_with('~') ? home + c.folder.substr(1) : c.folder;
        EXPECT_EQ(ProgramFolder(c.kind).value_or("").string(), folder) << c.folder;
    }
}
#endif
