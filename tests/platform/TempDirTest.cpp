// The tests' temporary-folder helper must never fall back to a shared folder: when it cannot make
// its own, the test fails and nothing outside is touched.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "tests/support/TempDir.h"

namespace {

class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const std::string& value) {
        if (const char* old = getenv("TMPDIR")) old_ = old;
        setenv("TMPDIR", value.c_str(), 1);
    }
    ~ScopedTmpDir() {
        if (old_)
            setenv("TMPDIR", old_->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> old_;
};

TEST(TempDir, ThrowsWhenNoFolderCanBeMadeAndLeavesTheBaseAlone) {
    testsupport::TempDir outer("glyphor-tempdir");
    outer.Write("keep.txt", "still here");
    // A base that is a file, and one that does not exist: both must throw, neither may remove a thing.
    for (const std::string& base : {outer.File("keep.txt"), outer.File("missing")}) {
        ScopedTmpDir tmp(base);
        EXPECT_THROW(testsupport::TempDir("inner"), std::runtime_error) << base;
    }
    EXPECT_EQ(outer.Read("keep.txt"), "still here");
}

TEST(TempDir, MakesAFreshFolderAndRemovesItWithItsContents) {
    std::string path;
    {
        testsupport::TempDir a("glyphor-tempdir"), b("glyphor-tempdir");
        ASSERT_NE(a.Path(), b.Path());
        path = a.Path();
        std::filesystem::create_directories(a.File("sub/deeper"));
        a.Write("sub/deeper/f", "x");
        EXPECT_TRUE(a.Exists("sub/deeper/f"));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
