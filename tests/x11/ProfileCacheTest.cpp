#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "TempDir.h"
#include "lut/ProfileCache.h"

namespace {

// Sets an environment variable for the test's lifetime, or removes it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(ProfileCache, FollowsTheCacheConventionAndLeavesNoPartialFile)
{
    TempDir home;
    const std::vector<std::uint8_t> bytes(5000, 0xAB);
    ScopedEnv homeEnv("HOME", home.PathOf("").c_str());
    for (const char* cacheHome : {static_cast<const char*>(nullptr), "relative/cache"}) {  // both mean ~/.cache
        ScopedEnv cacheEnv("XDG_CACHE_HOME", cacheHome);
        ASSERT_EQ(StoreDisplayProfile(3, bytes), home.PathOf(".cache/rampwise/display-3.icc"));
        EXPECT_EQ(home.Read(".cache/rampwise/display-3.icc"), bytes);
    }

    const std::string blocked = home.Write("not-a-folder", {1});
    ScopedEnv cacheEnv("XDG_CACHE_HOME", blocked.c_str());
    EXPECT_EQ(StoreDisplayProfile(0, bytes), "");
    EXPECT_EQ(home.Files(), (std::vector<std::string>{".cache", "not-a-folder"}));
}
