#include "platform/command_line.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

TEST(CommandLinePath, QuotesAreDroppedAndSpacesKept)
{
    // One quoted argument holding spaces.
    EXPECT_EQ(command_line_path({QStringLiteral("\"/home/a/my books/2024 toto.yrm\"")}),
              QStringLiteral("/home/a/my books/2024 toto.yrm"));
    // The same path split by the shell comes back whole.
    EXPECT_EQ(command_line_path(
                  {QStringLiteral("/home/a/my"), QStringLiteral("books/2024"), QStringLiteral("toto.yrm")}),
              QStringLiteral("/home/a/my books/2024 toto.yrm"));
    // Quotes anywhere go, the rest stays as it is.
    EXPECT_EQ(command_line_path({QStringLiteral("\"/tmp/\"a\"\".yrm")}), QStringLiteral("/tmp/a.yrm"));
    EXPECT_EQ(command_line_path({QStringLiteral("  x.yrm")}), QStringLiteral("  x.yrm"));
}

TEST(CommandLinePath, NothingGivenIsNoBook)
{
    EXPECT_EQ(command_line_path({}), QString());
    EXPECT_EQ(command_line_path({QStringLiteral("\"\"")}), QString());
}
