// The free space the destination page shows, measured on this machine.
#include <gtest/gtest.h>

#include "setup/system/disk_space.h"

TEST(FreeDiskSpace, IsWhatTheUserMayUseOnThePathsDrive)
{
    ULARGE_INTEGER available = {}, total = {}, free = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    // Other programs write to the drive meanwhile: allow for 1 GB.
    EXPECT_NEAR(static_cast<double>(GetFreeDiskSpace("C:\\No\\Such\\Folder")),
                static_cast<double>(available.QuadPart), 1073741824.0);
}

TEST(FreeDiskSpace, IsZeroWhenItCannotBeFoundOut)
{
    EXPECT_EQ(GetFreeDiskSpace(""), 0u);
    EXPECT_EQ(GetFreeDiskSpace("C:"), 0u);
    EXPECT_EQ(GetFreeDiskSpace("\\\\server\\share"), 0u);
    char drive[] = "?:\\";
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        drive[0] = letter;
        if (GetDriveTypeA(drive) == DRIVE_NO_ROOT_DIR) {
            EXPECT_EQ(GetFreeDiskSpace(std::string(drive) + "App"), 0u) << drive;
            break;
        }
    }
}
