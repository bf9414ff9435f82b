// Splitting command lines the way the program's command forms need.

#include "ShellLexer.h"

#include <gtest/gtest.h>

namespace boxtest {
namespace {

using box::dev::Joint;
using box::dev::ParseCommandLine;

std::vector<std::string> Texts(const box::dev::SimpleCommand& c)
{
    std::vector<std::string> out;
    for (const auto& w : c.words)
        out.push_back(w.text);
    return out;
}

TEST(ShellLexer, QuotedPiecesJoinIntoOneWord)
{
    const auto p = ParseCommandLine("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:/mnt/udisk/'my boot.img'");
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.commands.size(), 2u);
    EXPECT_EQ(p.commands[1].joint, Joint::IfOk);
    EXPECT_EQ(Texts(p.commands[1]),
              (std::vector<std::string>{"./eMMC", "/READ_WRITE_DATA", "/WRITE_BOOT1:/mnt/udisk/my boot.img"}));
}

TEST(ShellLexer, EscapesInsideAndOutsideDoubleQuotes)
{
    const auto p = ParseCommandLine(R"(echo "a \"b\" \n" c\ d 'e\f' "")");
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(Texts(p.commands[0]), (std::vector<std::string>{"echo", "a \"b\" \\n", "c d", "e\\f", ""}));
}

TEST(ShellLexer, OnlyUnquotedWildcardsGlob)
{
    const auto p = ParseCommandLine("rm /data/bin/* '/x/*' a\\*b \"q?\" [x]");
    ASSERT_EQ(p.commands[0].words.size(), 6u);
    const auto& w = p.commands[0].words;
    EXPECT_TRUE(w[1].glob);
    EXPECT_EQ(w[1].pattern, "/data/bin/*");
    EXPECT_FALSE(w[2].glob);
    EXPECT_EQ(w[2].pattern, "/x/\\*");
    EXPECT_FALSE(w[3].glob);
    EXPECT_FALSE(w[4].glob);
    EXPECT_EQ(w[5].pattern, "\\[x]");
}

TEST(ShellLexer, JointsAndEmptyStatements)
{
    const auto p = ParseCommandLine("a ; ; b || c && d;");
    ASSERT_TRUE(p.error.empty());
    ASSERT_EQ(p.commands.size(), 4u);
    EXPECT_EQ(p.commands[1].joint, Joint::Always);
    EXPECT_EQ(p.commands[2].joint, Joint::IfFailed);
    EXPECT_EQ(p.commands[3].joint, Joint::IfOk);
}

TEST(ShellLexer, SyntaxErrorsRunNothing)
{
    for (const char* line : {"echo 'open", "echo \"open", "&& ls", "ls &&", "ls | grep x", "echo x > f", "a && || b"}) {
        const auto p = ParseCommandLine(line);
        EXPECT_FALSE(p.error.empty()) << line;
        EXPECT_TRUE(p.commands.empty()) << line;
    }
}

}  // namespace
}  // namespace boxtest
