// The process guard against the processes of the Wine prefix.
#include <gtest/gtest.h>

#include <vector>

#include "setup/guard/process_guard.h"

namespace {

std::string OwnFileName()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full(path, length);
    return full.substr(full.rfind('\\') + 1);
}

struct Seen {
    std::vector<DWORD> ids;
    std::vector<std::string> names;
    size_t stopAfter = 0;  // 0: never stop
};

BOOL Note(DWORD processId, WORD task, const char* executable, LPARAM value)
{
    auto* seen = reinterpret_cast<Seen*>(value);
    seen->ids.push_back(processId);
    seen->names.push_back(executable);
    EXPECT_EQ(task, 0);
    return seen->stopAfter == 0 || seen->ids.size() < seen->stopAfter;
}

}  // namespace

TEST(ProcessGuard, WalkSeesThisProgramAndStopsWhenAsked)
{
    Seen all;
    ASSERT_TRUE(EnumerateProcesses(Note, reinterpret_cast<LPARAM>(&all)));
    ASSERT_GT(all.ids.size(), 1u);
    bool self = false;
    for (size_t i = 0; i < all.ids.size(); ++i)
        if (all.ids[i] == GetCurrentProcessId()) {
            self = true;
            const std::string& name = all.names[i];
            EXPECT_EQ(name.substr(name.rfind('\\') + 1), OwnFileName());
        }
    EXPECT_TRUE(self);

    Seen two;
    two.stopAfter = 2;
    EXPECT_TRUE(EnumerateProcesses(Note, reinterpret_cast<LPARAM>(&two)));
    EXPECT_EQ(two.ids.size(), 2u);
}
