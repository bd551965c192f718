#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/BinaryFile.h"
#include "tests/support/TempDir.h"

using platform::ReadBinaryFile;
using platform::ReadResult;

// A small file under a large bound costs what it holds (course files are read under a 64 MB
// bound); a longer file gives the bound's worth; a file that tells no size (a pipe) is read to
// its end all the same, but one that nobody writes into is given up after a while.
TEST(BinaryFileTest, ReadsWhatTheFileHoldsUpToTheBound) {
    testsupport::TempDir dir;
    dir.Write("small", "course");
    std::vector<uint8_t> bytes;
    ASSERT_EQ(ReadBinaryFile(dir.File("small"), size_t{64} << 20, bytes), ReadResult::Ok);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "course");
    EXPECT_LT(bytes.capacity(), size_t{1} << 20);

    ASSERT_EQ(ReadBinaryFile(dir.File("small"), 3, bytes), ReadResult::Ok);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "cou");

    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string sent(300000, 'x');
    for (size_t i = 0; i < sent.size(); i += 997) sent[i] = static_cast<char>('a' + i % 26);
    std::thread writer([&] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        if (fd < 0) return;
        size_t done = 0;
        while (done < sent.size()) {
            const ssize_t n = write(fd, sent.data() + done, sent.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        close(fd);
    });
    const ReadResult result = ReadBinaryFile(fifo, size_t{1} << 20, bytes);
    writer.join();
    ASSERT_EQ(result, ReadResult::Ok);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), sent);

    // A pipe nobody writes into (a settings file made a pipe) must not hold the game.
    const std::string silent = dir.File("silent");
    ASSERT_EQ(mkfifo(silent.c_str(), 0600), 0);
    std::string why;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadBinaryFile(silent, 64, bytes, &why), ReadResult::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_NE(why.find("writer"), std::string::npos) << why;

    EXPECT_EQ(ReadBinaryFile(dir.File("absent"), 10, bytes), ReadResult::Missing);
    EXPECT_EQ(ReadBinaryFile(dir.File("small") + "/inside", 10, bytes), ReadResult::Missing);
    EXPECT_TRUE(bytes.empty());
}
