// Checksums, Base64, the signing key and counter texts, and the diagnostics' output.

#include "admodule/Base64.h"
#include "admodule/CallLock.h"
#include "admodule/Checksums.h"
#include "admodule/DecimalText.h"
#include "admodule/Diagnostics.h"
#include "admodule/SigningKey.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace tavi {
namespace {

TEST(TaviCrc, CheckValueAndZeroPadding) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32Hex("123456789"), "CBF43926");
    EXPECT_EQ(Crc32Hex(""), "00000000");
    // "a" has CRC 0xE8B7BE43; find a short text whose CRC has a leading zero digit.
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text = 'q';
        text += std::to_string(i);
        if (Crc32(text) < 0x10000000u) break;
    }
    ASSERT_LT(Crc32(text), 0x10000000u);
    const std::string hex = Crc32Hex(text);
    EXPECT_EQ(hex.size(), 8u);
    EXPECT_EQ(hex[0], '0');
    EXPECT_EQ(std::stoul(hex, nullptr, 16), Crc32(text));
}

TEST(TaviBase64, EncodesTheRfc4648Vectors) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(Base64Encode("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64Encode(std::string("\xFB\xFF\xBF", 3)), "+/+/");
}

TEST(TaviBase64, DecodesTheRfc4648VectorsAndTheLenientForms) {
    for (const char* plain : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
        EXPECT_EQ(Base64Decode(Base64Encode(plain)), plain);
    }
    EXPECT_EQ(Base64Decode("Zm9v\r\nYmFy"), "foobar");  // line breaks skipped
    EXPECT_EQ(Base64Decode("Zm\r\n9v"), "foo");         // even inside a group
    EXPECT_EQ(Base64Decode("Zg==Zm8="), "ffo");         // "=" ends a group, decoding goes on
    EXPECT_EQ(Base64Decode("Zm8=Zm9v"), "fofoo");
    // A foreign character counts as "A" (0): "Z!==" reads as "ZA==".
    EXPECT_EQ(Base64Decode("Z!=="), Base64Decode("ZA=="));
    EXPECT_EQ(Base64Decode("Zm9*"), Base64Decode("Zm9A"));
    EXPECT_EQ(Base64Decode("Zm9vY"), "foo" + Base64Decode("YA=="));  // a cut last group
}

TEST(TaviMd5, Rfc1321Vectors) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(TaviSigningKey, CutsAtTheLastHashThatIsNotFirst) {
    EXPECT_EQ(DeriveSigningKey(Base64Encode("secret")), "secret");  // no "#"
    EXPECT_EQ(DeriveSigningKey(Base64Encode("secret#2024")), "secret");
    EXPECT_EQ(DeriveSigningKey(Base64Encode("a#b#c")), "a#b");        // the last one
    EXPECT_EQ(DeriveSigningKey(Base64Encode("#secret")), "#secret");  // first byte only
    EXPECT_EQ(DeriveSigningKey(Base64Encode("#se#cret")), "#se");
    EXPECT_EQ(DeriveSigningKey(Base64Encode("key#")), "key");
    EXPECT_EQ(DeriveSigningKey("Z2x5cGhv\r\nci10ZXN0LWtleSMx"), "glyphor-test-key");
    EXPECT_EQ(DeriveSigningKey(""), "");
}

TEST(TaviDecimal, CountersAreAtMostNineDigits) {
    EXPECT_EQ(ParseCounter("000000001"), 1);  // nine digits
    EXPECT_EQ(ParseCounter("999999999"), 999999999);
    EXPECT_EQ(ParseCounter(""), 0);
    EXPECT_EQ(ParseCounter("0000000001"), std::nullopt);  // ten digits
    EXPECT_EQ(ParseCounter("-1"), std::nullopt);
    EXPECT_EQ(ParseCounter("+1"), std::nullopt);
    EXPECT_EQ(ParseCounter("1 0"), std::nullopt);
    EXPECT_EQ(ParseCounter(" 1"), std::nullopt);
    EXPECT_EQ(ParseCounter("1x"), std::nullopt);
}

TEST(TaviDecimal, LooseStatusNumbers) {
    EXPECT_EQ(ParseLooseInt("1"), 1);
    EXPECT_EQ(ParseLooseInt("-2"), -2);
    EXPECT_EQ(ParseLooseInt("+1"), 1);
    EXPECT_EQ(ParseLooseInt(" 1abc"), 1);
    EXPECT_EQ(ParseLooseInt("abc"), 0);
    EXPECT_EQ(ParseLooseInt(""), 0);
    EXPECT_EQ(ParseLooseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLooseInt("-99999999999999999999"), -2147483647 - 1);
}

// A host whose standard output is a pipe nobody reads any more lives on after a diagnostic line.
TEST(TaviDiagnostics, AClosedPipeOnStandardOutputDoesNotEndTheHost) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    ASSERT_GE(dup2(ends[1], STDOUT_FILENO), 0);
    DiagPrint("%s\n", "nobody reads this");
    std::fflush(stdout);
    std::clearerr(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(ends[1]);
    sigset_t pending;
    ASSERT_EQ(sigpending(&pending), 0);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

// Nor does one whose reader stopped reading hold the call: the line is left out, and one longer
// than the room a page of the pipe gives (a long usage action) is cut to fit.
TEST(TaviDiagnostics, AFullPipeOnStandardOutputHoldsNoCall) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const int flags = fcntl(ends[1], F_GETFL);
    fcntl(ends[1], F_SETFL, flags | O_NONBLOCK);
    const std::string block(4096, 'x');
    while (write(ends[1], block.data(), block.size()) > 0) {}
    fcntl(ends[1], F_SETFL, flags);
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    ASSERT_GE(dup2(ends[1], STDOUT_FILENO), 0);
    auto printed = std::async(std::launch::async, [] { DiagPrint("%s\n", "nobody reads this yet"); });
    const bool returned = printed.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    std::vector<char> sink(1 << 17);
    ASSERT_EQ(read(ends[0], sink.data(), block.size()), static_cast<ssize_t>(block.size()));
    auto longLine = std::async(std::launch::async, [] { DiagPrint("%s\n", std::string(100000, 'y').c_str()); });
    const bool longReturned = longLine.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    // Whatever happened, the pipe is drained so a held call can end.
    fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    std::string after;
    for (int i = 0; i < 200; ++i) {
        for (ssize_t n; (n = read(ends[0], sink.data(), sink.size())) > 0;) after.append(sink.data(), n);
        if (printed.wait_for(std::chrono::milliseconds(10)) == std::future_status::ready &&
            longLine.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready)
            break;
    }
    printed.wait();
    longLine.wait();
    std::fflush(stdout);
    std::clearerr(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(ends[0]);
    close(ends[1]);
    EXPECT_TRUE(returned);
    EXPECT_TRUE(longReturned);
    const std::size_t ys = static_cast<std::size_t>(std::count(after.begin(), after.end(), 'y'));
    EXPECT_GT(ys, 100u);
    EXPECT_LT(ys, block.size());
}

// A call that has been waiting goes before a thread that calls again and again: it waits at most
// for the calls that came before it.
TEST(TaviCallLock, AWaitingCallGoesBeforeAThreadThatCallsAgainAndAgain) {
    CallLock lock;
    std::string order;
    lock.lock();
    std::thread busy([&] {
        for (int i = 0; i < 200; ++i) {
            lock.lock();
            order += 'b';
            lock.unlock();
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::thread waiting([&] {
        lock.lock();
        order += 'w';
        lock.unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    lock.unlock();
    busy.join();
    waiting.join();
    EXPECT_LE(order.find('w'), 1u) << order;
}

}  // namespace
}  // namespace tavi
