// The bound on the folder of a new program group.
#include <gtest/gtest.h>

#include "setup/ui/text/program_group.h"

TEST(ProgramGroupPath, LongerThan259CharactersIsRefused)
{
    const std::string programs = "C:\\Programs";  // 11 characters, 13 with the two backslashes
    EXPECT_EQ(NewGroupPath(programs, std::string(246, 'n'))->size(), 259u);
    EXPECT_FALSE(NewGroupPath(programs, std::string(247, 'n')));
    EXPECT_FALSE(NewGroupPath(programs, std::string(5000, 'n')));
}
