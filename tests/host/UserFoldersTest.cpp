#include <gtest/gtest.h>

#include "base/UserFolders.h"

#ifndef _WIN32
#include <pwd.h>

// One rule for every kind: its XDG variable when absolute, else a folder below a home
// that is absolute (HOME, else the user's entry), trailing slashes dropped. Each test
// runs in a process of its own: the variables need not be put back.
TEST(UserFolders, EachKindFollowsItsVariableElseAnAbsoluteHome)
{
    const char* const names[] = {"HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME", "XDG_CACHE_HOME"};
    const std::string entry = getpwuid(getuid())->pw_dir;  // the user's entry
    const struct { UserFolder kind; const char* values[4]; std::string folder; } cases[] = {
        {UserFolder::Cache, {"/"}, "/.cache/rampwise"},
        {UserFolder::State, {"/h//", nullptr, "s"}, "/h/.local/state/rampwise"},
        {UserFolder::State, {"h"}, entry + "/.local/state/rampwise"},
        {UserFolder::Runtime, {nullptr, "/run/user/7/"}, "/run/user/7/rampwise"},
        {UserFolder::Runtime, {"/h", "run"}, ""},  // no stand-in below the home
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i)
            c.values[i] ? setenv(names[i], c.values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(ProgramFolder(c.kind).value_or("").string(), c.folder) << c.folder;
    }
}
#endif
